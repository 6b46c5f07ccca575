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

TEST(ListFileRecords, EveryPathIsAnItemWhateverTheLineShape) {
  constexpr ItemType F = ItemType::File, D = ItemType::Folder, U = ItemType::Unknown;
  struct Case {
    const char* what;
    std::vector<std::wstring> lines;
    std::vector<ListRecord> records;
    std::vector<std::wstring> strays;
    std::vector<std::wstring> words = {};
    std::size_t joined = 0;
  } cases[] = {
      {"as the program writes it",
       {L"C:\\Documents and Settings\\dupont\\Mes documents\\Priv\u00E9", L"Dossier", L"C:\\Comptes\\budget.xls",
        L"Fichier"},
       {{L"C:\\Documents and Settings\\dupont\\Mes documents\\Priv\u00E9", D, true},
        {L"C:\\Comptes\\budget.xls", F, true}},
       {}},
      {"an empty line between two records",
       {L"C:\\a", L"Fichier", L"", L"C:\\b", L"Fichier"},
       {{L"C:\\a", F, true}, {L"C:\\b", F, true}},
       {}},
      {"one path per line, as a script writes it: no type asked of the disk",
       {L"C:\\a", L"\\\\srv\\part\\b", L"C:/c", L""},
       {{L"C:\\a", U, false}, {L"\\\\srv\\part\\b", U, false}, {L"C:/c", U, false}},
       {}},
      {"a share written with \"/\" alone is a path",
       {L"//srv/partage/b", L"dossier"},
       {{L"//srv/partage/b", D, true}},
       {}},
      {"blank lines between a path and its type word",
       {L"", L"C:\\a", L"", L"  \t", L"Dossier", L""},
       {{L"C:\\a", D, true}},
       {}},
      {"type words in any case, French or English, blanks around",
       {L"C:\\a", L"dossier", L"C:\\b", L"FOLDER ", L"C:\\c", L"Dossier\t", L"C:\\d", L" fichier", L"C:\\e", L"File"},
       {{L"C:\\a", D, true}, {L"C:\\b", D, true}, {L"C:\\c", D, true}, {L"C:\\d", F, true}, {L"C:\\e", F, true}},
       {}},
      {"any other word after a path is no type word, and is named",
       {L"C:\\data\\alpha.txt", L"REM poste de Marie", L"C:\\data\\dir1", L"dossier", L"C:\\e", L"Dossiers"},
       {{L"C:\\data\\alpha.txt", U, false}, {L"C:\\data\\dir1", D, true}, {L"C:\\e", U, false}},
       {},
       {L"REM poste de Marie", L"Dossiers"}},
      {"remarks are no items and keep a path's type word its own",
       {L"; commentaire", L"C:\\a", L"# note", L"Dossier", L"  ;C:\\b", L"#", L"Fichier"},
       {{L"C:\\a", D, true}},
       {L"Fichier"}},
      {"a word that follows no path is a stray",
       {L"Fichier", L"C:\\a", L"Fichier", L"Dossier", L"gamma"},
       {{L"C:\\a", F, true}},
       {L"Fichier", L"Dossier", L"gamma"}},
      {"a path after a path begins an item; the last one unpaired",
       {L"C:\\a", L"C:\\b", L"Dossier", L"C:\\c"},
       {{L"C:\\a", U, false}, {L"C:\\b", D, true}, {L"C:\\c", U, false}},
       {}},
      {"a relative path is still an item, never a type word",
       {L"C:\\a", L"docs\\b", L"C:c", L"Fichier"},
       {{L"C:\\a", U, false}, {L"docs\\b", U, false}, {L"C:c", F, true}},
       {}},
      {"the spellings of one path are one row: the first's place, its type word",
       {L"C:\\DATA\\ALPHA.TXT", L"Fichier", L"c:\\data\\alpha.txt", L"Dossier", L"C:/data/alpha.txt",
        L"C:\\data\\.\\alpha.txt", L"  \"C:\\data\\alpha.txt\"\t", L"C:\\d\\dir1", L"C:\\d\\dir1\\", L"Dossier",
        L"C:\\", L"c:/"},
       {{L"C:\\DATA\\ALPHA.TXT", F, true}, {L"C:\\d\\dir1", D, true}, {L"C:\\", U, false}},
       {},
       {},
       6},
      {"nothing", {}, {}, {}},
  };
  for (const Case& c : cases) {
    const ListRecords read = ReadListRecords(c.lines);
    ASSERT_EQ(read.records.size(), c.records.size()) << c.what;
    for (std::size_t i = 0; i < c.records.size(); ++i) {
      EXPECT_EQ(read.records[i].path, c.records[i].path) << c.what << " " << i;
      EXPECT_EQ(read.records[i].type, c.records[i].type) << c.what << " " << i;
      EXPECT_EQ(read.records[i].typed, c.records[i].typed) << c.what << " " << i;
    }
    EXPECT_EQ(read.strays, c.strays) << c.what;
    EXPECT_EQ(read.words, c.words) << c.what;
    EXPECT_EQ(read.joined, c.joined) << c.what;
  }
}

TEST(ListFileRecords, FileNameIsTheProgramFolderThenTheUser) {
  EXPECT_EQ(ListFilePath(L"C:\\Outils\\", L"dupont"), L"C:\\Outils\\dupont");
  EXPECT_EQ(ListFilePath(L"C:\\Outils", L"dupont"), L"C:\\Outils\\dupont");
}

}  // namespace
}  // namespace ferlane
