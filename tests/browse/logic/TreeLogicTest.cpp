#include "browse/logic/TreeLogic.h"

#include <gtest/gtest.h>

namespace ferlane::treelogic {
namespace {

TEST(TreeDriveCaption, CutsTheDisplayNameBeforeItsFirstParenthesis) {
  // The shell shows a local disk as "Disque local (C:)": the caption keeps the
  // trailing blank of the name and puts the letter first.
  EXPECT_EQ(DriveCaption(L'C', L"Disque local (C:)"), L" (C:)  Disque local ");
  EXPECT_EQ(DriveCaption(L'A', L"(A:)"), L" (A:)  ");
  EXPECT_EQ(DriveCaption(L'Z', L"Racine"), L" (Z:)  Racine");
  EXPECT_EQ(DriveCaption(L'D', L""), L" (D:)  ");
  EXPECT_EQ(DriveCaption(L'E', L"Data (backup) (E:)"), L" (E:)  Data ");
}

TEST(TreeDriveCaption, KeyIsTheLetterAndColonOfTheCaption) {
  EXPECT_EQ(DriveKey(DriveCaption(L'C', L"Disque local (C:)")), L"C:\\");
  EXPECT_EQ(DriveKey(L" (Q:)"), L"Q:\\");
  EXPECT_EQ(DriveKey(L" (Q"), L"");  // too short to hold a letter and colon
  EXPECT_EQ(DriveKey(L""), L"");
}

TEST(TreeNodePath, FromTheTextsOfTheNodesDownToIt) {
  const std::wstring root = L"Poste de travail", drive = L" (C:)  Disque local ";
  EXPECT_EQ(NodePathFromTexts({}), L"");
  EXPECT_EQ(NodePathFromTexts({root}), L"");
  EXPECT_EQ(NodePathFromTexts({root, drive}), L"C:\\");
  EXPECT_EQ(NodePathFromTexts({root, drive, L"Windows"}), L"C:\\Windows");
  EXPECT_EQ(NodePathFromTexts({root, drive, L"Windows", L"System32"}), L"C:\\Windows\\System32");
  EXPECT_EQ(NodePathFromTexts({root, drive, L"a b", L"c.d", L"e"}), L"C:\\a b\\c.d\\e");
}

TEST(TreeNodePath, SelectionOfTheRootStandsForTheDrives) {
  EXPECT_EQ(SelectionPath(0, L""), L"Drives");
  EXPECT_EQ(SelectionPath(1, L"C:\\"), L"C:\\");
  EXPECT_EQ(SelectionPath(3, L"C:\\Windows\\System32"), L"C:\\Windows\\System32");
  EXPECT_TRUE(IsDrivesPath(L"Drives"));
  EXPECT_TRUE(IsDrivesPath(L"DRIVES"));
  EXPECT_TRUE(IsDrivesPath(L"drives"));
  EXPECT_FALSE(IsDrivesPath(L"Drives\\"));
  EXPECT_FALSE(IsDrivesPath(L"C:\\Drives"));
}

TEST(TreePathWalk, SegmentsEndWithTheirBackslash) {
  using V = std::vector<std::wstring>;
  EXPECT_EQ(PathSegments(L"C:\\"), (V{L"C:\\"}));
  EXPECT_EQ(PathSegments(L"C:\\Windows\\System32\\"), (V{L"C:\\", L"Windows\\", L"System32\\"}));
  // Text after the last backslash is not walked (callers add one first).
  EXPECT_EQ(PathSegments(L"C:\\Windows"), (V{L"C:\\"}));
  EXPECT_EQ(PathSegments(L""), V{});
  EXPECT_EQ(PathSegments(L"C:"), V{});
  // A doubled backslash gives a segment no node can match.
  EXPECT_EQ(PathSegments(L"C:\\\\x\\"), (V{L"C:\\", L"\\", L"x\\"}));
  EXPECT_EQ(PathSegments(L"\\\\srv\\share\\"), (V{L"\\", L"\\", L"srv\\", L"share\\"}));
}

TEST(TreePathWalk, SegmentsMatchDrivesByKeyAndFoldersByNameIgnoringCase) {
  const std::wstring drive = L" (C:)  Disque local ";
  EXPECT_TRUE(SegmentMatches(L"C:\\", 1, drive));
  EXPECT_TRUE(SegmentMatches(L"c:\\", 1, drive));
  EXPECT_FALSE(SegmentMatches(L"D:\\", 1, drive));
  EXPECT_FALSE(SegmentMatches(L"C:", 1, drive));
  EXPECT_TRUE(SegmentMatches(L"windows\\", 2, L"Windows"));
  EXPECT_TRUE(SegmentMatches(L"ÉTÉ\\", 3, L"été"));
  EXPECT_FALSE(SegmentMatches(L"Windows", 2, L"Windows"));
  EXPECT_FALSE(SegmentMatches(L"Win\\", 2, L"Windows"));
  EXPECT_FALSE(SegmentMatches(L"Windows\\", 2, L"Win"));
  // The root never matches, whatever its text.
  EXPECT_FALSE(SegmentMatches(L"Poste de travail\\", 0, L"Poste de travail"));
  EXPECT_FALSE(SegmentMatches(L"\\", 0, L""));
  // A short drive caption has no key and matches nothing.
  EXPECT_FALSE(SegmentMatches(L"\\", 1, L"ab"));
}

TEST(TreeRename, NamesWithAnyOfTheFourteenCharactersAreRefused) {
  EXPECT_EQ(CheckFolderName(L"Nouveau Dossier"), NameCheck::Ok);
  EXPECT_EQ(CheckFolderName(L"a.b-c_d (2) [x] {y} ~ & ' ! @ # $ % é"), NameCheck::Ok);
  EXPECT_EQ(CheckFolderName(L""), NameCheck::Empty);
  for (wchar_t c : std::wstring(L"\\*?/=\"<>|:,;+^")) {
    std::wstring name = L"ab";
    name.insert(1, 1, c);
    EXPECT_EQ(CheckFolderName(name), NameCheck::InvalidChars) << static_cast<int>(c);
  }
}

TEST(TreeRename, MessageAndQuestionTexts) {
  EXPECT_EQ(InvalidNameMessage(L"Erreur - Nom de répertoire invalide", L"a*b"),
            L"Erreur - Nom de répertoire invalide\ra*b");
  EXPECT_EQ(RenameQuestion(L"Voulez-vous renommer le dossier sélectionné", L"de  : ", L"à     : ",
                           L"Ancien", L"Nouveau"),
            L"Voulez-vous renommer le dossier sélectionné\r\r    de  : Ancien\r    à     : Nouveau");
}

TEST(TreeRename, NewPathKeepsTheFolderPart) {
  EXPECT_EQ(RenamedPath(L"C:\\Data\\Old", L"New"), L"C:\\Data\\New");
  EXPECT_EQ(RenamedPath(L"C:\\Data\\Old\\", L"New"), L"C:\\Data\\New");
  EXPECT_EQ(RenamedPath(L"C:\\Old", L"New"), L"C:\\New");
}

}  // namespace
}  // namespace ferlane::treelogic
