#include "shellfolders/logic/MoveRules.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(MoveRulesTest, ItemRuleDecidesFromTheFileSystemNotTheTypeName) {
  EXPECT_EQ(ProgramsItemMove(true, L"Accessoires"), ItemMove::Folder);
  EXPECT_EQ(ProgramsItemMove(true, L"Groupe.lnk"), ItemMove::Folder);  // a folder, whatever its name
  EXPECT_EQ(ProgramsItemMove(false, L"Word.lnk"), ItemMove::File);
  EXPECT_EQ(ProgramsItemMove(false, L"WORD.LNK"), ItemMove::File);
  EXPECT_EQ(ProgramsItemMove(false, L"Site.url"), ItemMove::Skip);
  EXPECT_EQ(ProgramsItemMove(false, L"notes.lnk.txt"), ItemMove::Skip);
  EXPECT_EQ(ProgramsItemMove(false, L".lnk"), ItemMove::Skip);
  EXPECT_EQ(ProgramsItemMove(false, L"lnk"), ItemMove::Skip);
  // The desktop rule moves every selected item as it is.
  EXPECT_EQ(ApplyItemRule(ItemRule::Desktop, false, L"notes.txt"), ItemMove::File);
  EXPECT_EQ(ApplyItemRule(ItemRule::Programs, false, L"notes.txt"), ItemMove::Skip);
}

TEST(MoveRulesTest, DragOverAcceptsOnlyTheRoutePartnerByExactName) {
  EXPECT_TRUE(AcceptsDrag(L"programmesperso", L"programmescommuns"));
  EXPECT_TRUE(AcceptsDrag(L"programmescommuns", L"programmesperso"));
  EXPECT_TRUE(AcceptsDrag(L"bureauperso", L"bureaucommun"));
  EXPECT_TRUE(AcceptsDrag(L"bureaucommun", L"bureauperso"));
  EXPECT_TRUE(AcceptsDrag(L"burperso", L"bureaucommun"));
  EXPECT_TRUE(AcceptsDrag(L"burcach", L"bureaucommun"));
  // Onto itself, across the pairs, from the own tab, another letter case.
  EXPECT_FALSE(AcceptsDrag(L"bureauperso", L"bureauperso"));
  EXPECT_FALSE(AcceptsDrag(L"programmesperso", L"bureaucommun"));
  EXPECT_FALSE(AcceptsDrag(L"bureaucommun", L"programmesperso"));
  EXPECT_FALSE(AcceptsDrag(L"burperso", L"progperso"));
  EXPECT_FALSE(AcceptsDrag(L"burcach", L"burcach"));
  EXPECT_FALSE(AcceptsDrag(L"bureauperso", L"BureauCommun"));
  EXPECT_FALSE(AcceptsDrag(L"progcach", L"progperso"));  // takes no drop at all
  // The views of tabs 3 and 4 act as a drop on "bureauperso".
  EXPECT_EQ(RouteOf(L"burcach"), RouteOf(L"bureauperso"));
  const Route* r = RouteOf(L"bureaucommun");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->from, ShellFolder::PersonalDesktop);
  EXPECT_EQ(r->to, ShellFolder::CommonDesktop);
  EXPECT_STREQ(r->commonView, L"bureaucommun");  // the common view is re-listed first
}

TEST(MoveRulesTest, PathsKeepTheRealNameAndTheStoreLevels) {
  EXPECT_EQ(EntryName(L"C:\\users\\Public\\Desktop\\notes.txt"), L"notes.txt");
  EXPECT_EQ(EntryName(L"notes.txt"), L"notes.txt");
  EXPECT_EQ(JoinPath(L"C:\\Bureau", EntryName(L"D:\\ailleurs\\Word.lnk")), L"C:\\Bureau\\Word.lnk");
  EXPECT_EQ(HiddenStorePath(L"C:\\Program Files", L"Ferlane Administrateur jean paul", L"Desktop"),
            L"C:\\Program Files\\Ferlane\\Ferlane Administrateur jean paul\\Desktop");
  EXPECT_EQ(HiddenStorePath(L"", L"Ferlane Utilisateur marie", L"Programs"),
            L"\\Ferlane\\Ferlane Utilisateur marie\\Programs");
}

TEST(MoveRulesTest, TheQuestionsAndTheMessageNameTheItemsAndTheFolder) {
  const std::wstring q = ReplaceQuestion(L"Word.lnk", L"C:\\Bureau");
  EXPECT_NE(q.find(L"« Word.lnk »"), std::wstring::npos);
  EXPECT_NE(q.find(L"C:\\Bureau"), std::wstring::npos);
  const std::wstring one = NotMovedText({L"Jeux"}, L"C:\\Programmes");
  EXPECT_NE(one.find(L"« Jeux »"), std::wstring::npos);
  EXPECT_NE(one.find(L"C:\\Programmes"), std::wstring::npos);
  std::vector<std::wstring> many;
  for (int i = 0; i < 12; ++i) many.push_back(L"n" + std::to_wstring(i));
  const std::wstring listed = NotMovedText(many, L"D");
  EXPECT_NE(listed.find(L"« n9 »"), std::wstring::npos);
  EXPECT_EQ(listed.find(L"« n10 »"), std::wstring::npos);
  EXPECT_NE(listed.find(L"et 2 autres"), std::wstring::npos);
  const std::wstring m = MissingStoreText(L"C:\\PF\\Ferlane\\x\\Desktop", L"Accès refusé.");
  EXPECT_NE(m.find(L"C:\\PF\\Ferlane\\x\\Desktop"), std::wstring::npos);
  EXPECT_NE(m.find(L"Accès refusé."), std::wstring::npos);
}

TEST(MoveRulesTest, MovesShareOneShellRequestUnlessTheyDiffer) {
  using M = ItemMove;
  EXPECT_TRUE(MoveBatches({}).empty());
  const std::vector<PlannedMove> moves = {
      {M::File, false, true},   {M::File, false, true}, {M::File, false, false},  // a missing source goes alone
      {M::File, false, true},   {M::File, false, true}, {M::File, true, true},    // a confirmed replace too
      {M::Folder, false, true}, {M::Folder, false, true},                         // and every folder
      {M::File, false, true},
  };
  const auto b = MoveBatches(moves);
  const std::vector<std::pair<std::size_t, std::size_t>> expected = {{0, 2}, {2, 3}, {3, 5}, {5, 6},
                                                                     {6, 7}, {7, 8}, {8, 9}};
  ASSERT_EQ(b.size(), expected.size());
  for (std::size_t i = 0; i < b.size(); ++i) {
    EXPECT_EQ(b[i].first, expected[i].first) << i;
    EXPECT_EQ(b[i].last, expected[i].second) << i;
  }
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

TEST(MoveRulesTest, F6TakesEachViewOfTheShortcutsTabToTheViewFacingIt) {
  const std::pair<const wchar_t*, const wchar_t*> facing[] = {
      {L"bureaucommun", L"bureauperso"},
      {L"bureauperso", L"bureaucommun"},
      {L"programmescommuns", L"programmesperso"},
      {L"programmesperso", L"programmescommuns"},
  };
  for (const auto& [from, to] : facing) {
    const Route* r = RouteFrom(from);
    ASSERT_NE(r, nullptr) << from;
    EXPECT_STREQ(r->target, to);
    // The same route a drag from that view dropped on the facing one takes.
    EXPECT_EQ(r, RouteOf(to));
    EXPECT_TRUE(AcceptsDrag(to, from));
  }
  // The views of the other tabs face none: their moves have commands of their own.
  EXPECT_EQ(RouteFrom(L"burperso"), nullptr);
  EXPECT_EQ(RouteFrom(L"burcach"), nullptr);
  EXPECT_EQ(RouteFrom(L"progcach"), nullptr);
  EXPECT_EQ(RouteFrom(L"Bureaucommun"), nullptr);  // names count their case
}

TEST(MoveRulesTest, ANonIsNamedApartFromWhatCouldNotMove) {
  bool error = true;
  // A plain "Non" needs no echo.
  EXPECT_EQ(MoveReportText({}, {L"un.lnk"}, false, L"C:\\D", &error), L"");
  EXPECT_FALSE(error);
  // Kept back inside a merge the user agreed to: said, as information.
  const std::wstring merged = MoveReportText({}, {L"Outils\\deux.lnk"}, true, L"C:\\D", &error);
  EXPECT_FALSE(error);
  EXPECT_EQ(merged.find(L"n'a pas pu"), std::wstring::npos);
  EXPECT_NE(merged.find(L"comme vous l'avez choisi"), std::wstring::npos);
  EXPECT_NE(merged.find(L"« Outils\\deux.lnk »"), std::wstring::npos);
  // Failures and choices in one message, apart.
  const std::wstring both = MoveReportText({L"trois.lnk"}, {L"Outils\\deux.lnk"}, false, L"C:\\D", &error);
  EXPECT_TRUE(error);
  const auto failed = both.find(L"« trois.lnk »"), kept = both.find(L"« Outils\\deux.lnk »");
  const auto chose = both.find(L"comme vous l'avez choisi");
  ASSERT_NE(failed, std::wstring::npos);
  ASSERT_NE(chose, std::wstring::npos);
  EXPECT_LT(failed, chose);
  EXPECT_LT(chose, kept);
  EXPECT_EQ(both.find(L"n'a pas pu"), both.rfind(L"n'a pas pu"));
  EXPECT_EQ(MoveReportText({}, {}, true, L"C:\\D", &error), L"");
}

}  // namespace
}  // namespace ferlane
