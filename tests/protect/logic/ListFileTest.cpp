#include "protect/logic/ListFile.h"

#include <gtest/gtest.h>

#include <string>

namespace ferlane {
namespace {

using Lines = std::vector<std::string>;

TEST(ListFileLines, EveryLineEndIsAccepted) {
  EXPECT_EQ(SplitListLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitListLines("a\rb\r"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitListLines("a\nb\n"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitListLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  // LF then CR is two line ends, not one.
  EXPECT_EQ(SplitListLines("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitListLines("\r\n\r\n"), (Lines{"", ""}));
}

TEST(ListFileLines, LastLineWithoutEndCountsAndFinalEndAddsNothing) {
  EXPECT_EQ(SplitListLines("only"), (Lines{"only"}));
  EXPECT_EQ(SplitListLines("only\r\n"), (Lines{"only"}));
  EXPECT_EQ(SplitListLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_TRUE(SplitListLines("").empty());
}

TEST(ListFileLines, StopsAtTheFirstNulByte) {
  using namespace std::string_literals;
  EXPECT_EQ(SplitListLines("a\r\nb\0c\r\nd"s), (Lines{"a", "b"}));
  EXPECT_EQ(SplitListLines("a\r\n\0b"s), (Lines{"a"}));
  EXPECT_TRUE(SplitListLines("\0a\r\n"s).empty());
}

TEST(ListFileLines, BytesAboveAsciiAreKeptAsTheyAre) {
  // Windows-1252 "Privé" and the UTF-8 form of a Greek letter.
  EXPECT_EQ(SplitListLines("Priv\xE9\r\n\xCE\xA9\r\n"), (Lines{"Priv\xE9", "\xCE\xA9"}));
}

TEST(ListFileLines, JoinEndsEveryLineWithCrLfAndRoundTrips) {
  EXPECT_EQ(JoinListLines({}), "");
  EXPECT_EQ(JoinListLines({""}), "\r\n");
  Lines lines{"C:\\Comptes\\budget.xls", "Fichier", "", "C:\\x"};
  std::string text = JoinListLines(lines);
  EXPECT_EQ(text, "C:\\Comptes\\budget.xls\r\nFichier\r\n\r\nC:\\x\r\n");
  EXPECT_EQ(SplitListLines(text), lines);
}

TEST(ListFileLines, Utf8MarkIsRecognisedOnlyAtTheStart) {
  EXPECT_TRUE(StartsWithUtf8Bom("\xEF\xBB\xBF" "C:\\a"));
  EXPECT_TRUE(StartsWithUtf8Bom("\xEF\xBB\xBF"));
  EXPECT_FALSE(StartsWithUtf8Bom("\xEF\xBB"));
  EXPECT_FALSE(StartsWithUtf8Bom("C:\\\xEF\xBB\xBF"));
  EXPECT_FALSE(StartsWithUtf8Bom(""));
}

TEST(ListFileRecords, PairsPathAndTypeLines) {
  auto records = RecordsFromLines({L"C:\\Documents and Settings\\dupont\\Mes documents\\Priv\u00E9", L"Dossier",
                                   L"C:\\Comptes\\budget.xls", L"Fichier"});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].path, L"C:\\Documents and Settings\\dupont\\Mes documents\\Priv\u00E9");
  EXPECT_EQ(records[0].type, ItemType::Folder);
  EXPECT_EQ(records[1].path, L"C:\\Comptes\\budget.xls");
  EXPECT_EQ(records[1].type, ItemType::File);
}

TEST(ListFileRecords, AnyTypeLineButDossierExactlyIsAFile) {
  auto records = RecordsFromLines({L"a", L"dossier", L"b", L"DOSSIER", L"c", L"", L"d", L"Dossier ", L"e", L"Dossier"});
  ASSERT_EQ(records.size(), 5u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(records[i].type, ItemType::File) << i;
  EXPECT_EQ(records[4].type, ItemType::Folder);
}

TEST(ListFileRecords, UnpairedLastLineIsKeptAsAFile) {
  auto records = RecordsFromLines({L"C:\\a", L"Dossier", L"C:\\b"});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].path, L"C:\\b");
  EXPECT_EQ(records[1].type, ItemType::File);
  EXPECT_EQ(RecordsFromLines({L"C:\\only"}).size(), 1u);
  EXPECT_TRUE(RecordsFromLines({}).empty());
}

TEST(ListFileRecords, FileNameIsTheProgramFolderThenTheUser) {
  EXPECT_EQ(ListFilePath(L"C:\\Outils\\", L"dupont"), L"C:\\Outils\\dupont");
  EXPECT_EQ(ListFilePath(L"C:\\Outils", L"dupont"), L"C:\\Outils\\dupont");
}

}  // namespace
}  // namespace ferlane
