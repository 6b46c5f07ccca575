#include "shellfolders/logic/MergePlan.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

std::wstring AsciiFold(std::wstring s) {
  for (auto& c : s)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return s;
}

TEST(MergePlanTest, ATakenNameAsksToReplaceAFileAndToMergeAFolderAndKindsNeverMix) {
  EXPECT_EQ(ClashFor(false, std::nullopt), ClashStep::Move);
  EXPECT_EQ(ClashFor(true, std::nullopt), ClashStep::Move);
  EXPECT_EQ(ClashFor(false, false), ClashStep::AskReplace);
  EXPECT_EQ(ClashFor(true, true), ClashStep::AskMerge);
  EXPECT_EQ(ClashFor(true, false), ClashStep::Leave);
  EXPECT_EQ(ClashFor(false, true), ClashStep::Leave);
  EXPECT_EQ(Resolve(ClashStep::AskMerge, true), ClashOutcome::Merge);
  EXPECT_EQ(Resolve(ClashStep::AskMerge, false), ClashOutcome::Declined);
  EXPECT_EQ(Resolve(ClashStep::AskReplace, true), ClashOutcome::Replace);
  EXPECT_EQ(Resolve(ClashStep::AskReplace), ClashOutcome::Declined);  // unanswered never replaces
  EXPECT_EQ(Resolve(ClashStep::Leave, true), ClashOutcome::Leave);
  EXPECT_EQ(Resolve(ClashStep::Move), ClashOutcome::Move);
}

TEST(MergePlanTest, AMergeAsksOnlyForTakenNamesIgnoringCaseAndNamesWhatStays) {
  const std::vector<FolderEntry> source = {
      {L"Word.lnk", false}, {L"Outils", true}, {L"NEUF.lnk", false}, {L"Aide", true}, {L"Aide.lnk", false}};
  const std::vector<FolderEntry> destination = {{L"word.LNK", false}, {L"outils", true}, {L"Aide", false},
                                                {L"aide.lnk", true}};
  const auto plan = PlanMerge(source, destination, &AsciiFold);
  ASSERT_EQ(plan.size(), 5u);
  const ClashStep expected[] = {ClashStep::AskReplace, ClashStep::AskMerge, ClashStep::Move, ClashStep::Leave,
                                ClashStep::Leave};
  for (std::size_t i = 0; i < plan.size(); ++i) {
    EXPECT_EQ(plan[i].name, source[i].name);  // the source's order and spelling
    EXPECT_EQ(plan[i].step, expected[i]) << i;
  }
  // A merged sub-folder whose own leftovers were named is not named again;
  // a declined one, and every file still there, are.
  const std::vector<FolderEntry> remaining = {{L"Outils", true}, {L"Jeux", true}, {L"Word.lnk", false}};
  EXPECT_EQ(MergeLeftovers(L"Groupe", remaining, {L"OUTILS"}, &AsciiFold),
            (std::vector<std::wstring>{L"Groupe\\Jeux", L"Groupe\\Word.lnk"}));
}

TEST(MergePlanTest, PathsFitUpToTheWin32LimitsWithEverythingInsideAFolder) {
  // A file's path may take 259 characters, a folder's 247.
  EXPECT_TRUE(FitsIn(250, L"abcdefgh", false));   // 259
  EXPECT_FALSE(FitsIn(250, L"abcdefghi", false));  // 260
  EXPECT_TRUE(FitsIn(238, L"abcdefgh", true));     // 247
  EXPECT_FALSE(FitsIn(239, L"abcdefgh", true));
  // A short folder name whose content reaches too far does not fit either.
  EXPECT_TRUE(FitsIn(100, L"Groupe", true, {152, 140}));   // 107 + 152 = 259, 107 + 140 = 247
  EXPECT_FALSE(FitsIn(100, L"Groupe", true, {153, 0}));
  EXPECT_FALSE(FitsIn(100, L"Groupe", true, {0, 141}));
}

TEST(MergePlanTest, TheStoreViewFollowsTheDiskAndItsAbsenceIsToldOncePerAbsenceWhileShown) {
  StoreWatch watch{true, 5, false};
  auto step = [&](StoreLook now, bool visible) {
    const WatchAction a = NextWatchAction(watch, now, visible);
    return std::string(a.relist ? "R" : "") + (a.showEmpty ? "E" : "") + (a.tell ? "T" : "");
  };
  EXPECT_EQ(step({true, false, 5}, true), "");    // unchanged
  EXPECT_EQ(step({true, false, 6}, true), "R");   // an entry came or went
  watch = {true, 6, false};                        // listed again by the caller
  EXPECT_EQ(step({false, false, 0}, false), "E");  // gone while another tab is shown
  EXPECT_EQ(step({false, false, 0}, true), "T");   // told when the tab shows
  EXPECT_EQ(step({false, true, 0}, true), "");     // once
  EXPECT_EQ(step({true, false, 9}, true), "R");    // back: listed
  watch = {true, 9, false};
  EXPECT_EQ(step({false, true, 0}, true), "ET");  // gone again: told again
}

TEST(MergePlanTest, MessagesNameBothFoldersAndTheNamesTooLong) {
  const std::wstring merge = MergeQuestion(L"Jeux", L"C:\\Commun", L"C:\\Perso");
  EXPECT_NE(merge.find(L"fusionner le dossier « C:\\Commun\\Jeux » avec le dossier « C:\\Perso\\Jeux »"),
            std::wstring::npos);
  EXPECT_EQ(TooLongText({L"long.lnk"}, L"C:\\Cache", true).rfind(L"Ce nom est trop long pour le dossier caché « C:\\Cache » :\r\n« long.lnk »", 0),
            0u);
  const std::wstring two = TooLongText({L"a", L"b"}, L"C:\\Perso", false);
  EXPECT_EQ(two.rfind(L"Ces noms sont trop longs pour le dossier « C:\\Perso » :\r\n« a »\r\n« b »", 0), 0u);
  EXPECT_NE(StoreGoneText({L"C:\\D", L"C:\\P"}, {false, true}).find(L"« C:\\P » : un fichier porte son nom"),
            std::wstring::npos);
}

}  // namespace
}  // namespace ferlane
