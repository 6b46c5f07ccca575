#include "browse/logic/FileListFormat.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ferlane {
namespace {

TEST(FileListFormat, FileTypeSetsGiveTheirAttributeBits) {
  EXPECT_EQ(AttributeMask(FileAttrs({})), 0u);
  EXPECT_EQ(AttributeMask(FileAttrs({ftReadOnly, ftHidden, ftSystem, ftArchive})), 0x27u);
  EXPECT_EQ(AttributeMask(FileAttrs({ftNormal})), 0x80u);
  EXPECT_EQ(AttributeMask(FileAttrs({ftHidden, ftNormal})), 0x82u);
}

TEST(FileListFormat, MaskIsTrimmedAndCutAtSemicolons) {
  EXPECT_EQ(SplitMask(L""), std::vector<std::wstring>{L"*.*"});
  EXPECT_EQ(SplitMask(L"    "), std::vector<std::wstring>{L"*.*"});
  EXPECT_EQ(SplitMask(L"  *.txt  "), std::vector<std::wstring>{L"*.txt"});
  // A blank after ";" belongs to the next pattern.
  EXPECT_EQ(SplitMask(L"*.txt; *.doc"), (std::vector<std::wstring>{L"*.txt", L" *.doc"}));
  EXPECT_EQ(SplitMask(L"a b*.txt;*.txt"), (std::vector<std::wstring>{L"a b*.txt", L"*.txt"}));
  EXPECT_EQ(SplitMask(L"*.txt;;*.doc;"), (std::vector<std::wstring>{L"*.txt", L"*.doc"}));
  EXPECT_TRUE(SplitMask(L";").empty());
}

TEST(FileListFormat, PassesAdmitByFolderBitAndTheThreeExcludingBits) {
  const unsigned filePass = AttributeMask(FileAttrs({ftReadOnly, ftHidden, ftSystem, ftArchive}));
  const unsigned folderPass = filePass | kAttrDirectory;
  EXPECT_TRUE(AdmitEntry(0x20, filePass));
  EXPECT_TRUE(AdmitEntry(0x27, filePass));
  EXPECT_FALSE(AdmitEntry(0x10, filePass));
  EXPECT_TRUE(AdmitEntry(0x10, folderPass));
  EXPECT_TRUE(AdmitEntry(0x16, folderPass));
  EXPECT_FALSE(AdmitEntry(0x20, folderPass));

  // FileType []: only entries with none of read-only, hidden and system.
  EXPECT_TRUE(AdmitEntry(0x80, 0));
  EXPECT_TRUE(AdmitEntry(0x20, 0));
  EXPECT_FALSE(AdmitEntry(0x01, 0));
  EXPECT_FALSE(AdmitEntry(0x22, 0));
  EXPECT_FALSE(AdmitEntry(0x04, 0));
  // FileType [ftHidden]: hidden and plain ones, not read-only or system ones.
  const unsigned hiddenOnly = AttributeMask(FileAttrs({ftHidden}));
  EXPECT_TRUE(AdmitEntry(0x22, hiddenOnly));
  EXPECT_TRUE(AdmitEntry(0x80, hiddenOnly));
  EXPECT_FALSE(AdmitEntry(0x03, hiddenOnly));
  EXPECT_FALSE(AdmitEntry(0x06, hiddenOnly));
  // Archive and normal never exclude, even when not asked for.
  EXPECT_TRUE(AdmitEntry(0xA0, AttributeMask(FileAttrs({ftReadOnly}))));
}

TEST(FileListFormat, DotEntriesAreSkippedByTheParentRowRule) {
  EXPECT_TRUE(SkipEntryName(L".", true, false));
  EXPECT_FALSE(SkipEntryName(L"..", true, false));
  EXPECT_TRUE(SkipEntryName(L"..", false, false));
  EXPECT_TRUE(SkipEntryName(L"..", true, true));
  EXPECT_FALSE(SkipEntryName(L"...x", false, false));
  EXPECT_FALSE(SkipEntryName(L".profile", false, true));
}

TEST(FileListFormat, CaptionsHideTheTextFromTheLastDot) {
  EXPECT_EQ(CaptionOf(L"Word.lnk", false), L"Word.lnk");
  EXPECT_EQ(CaptionOf(L"Word.lnk", true), L"Word");
  EXPECT_EQ(CaptionOf(L"archive.tar.gz", true), L"archive.tar");
  EXPECT_EQ(CaptionOf(L"README", true), L"README");
  EXPECT_EQ(CaptionOf(L".profile", true), L"");
}

TEST(FileListFormat, RenameInAViewHidingExtensionsKeepsTheExtension) {
  EXPECT_EQ(RenameTarget(L"C:\\Bureau\\Word.lnk", L"Traitement", true), L"C:\\Bureau\\Traitement.lnk");
  EXPECT_EQ(RenameTarget(L"C:\\Bureau\\Word.lnk", L"Traitement.LNK", true), L"C:\\Bureau\\Traitement.LNK");
  EXPECT_EQ(RenameTarget(L"C:\\Bureau\\Word.lnk", L"Traitement.txt", true),
            L"C:\\Bureau\\Traitement.txt.lnk");
  EXPECT_EQ(RenameTarget(L"C:\\Bureau\\Word.lnk", L"Traitement", false), L"C:\\Bureau\\Traitement");
  EXPECT_EQ(RenameTarget(L"C:\\Bureau\\README", L"LISEZMOI", true), L"C:\\Bureau\\LISEZMOI");
  // A dot in the folder is not an extension.
  EXPECT_EQ(RenameTarget(L"C:\\v1.2\\notes", L"n", true), L"C:\\v1.2\\n");
}

TEST(FileListFormat, SizesInKilobytesRoundSmallFilesUpAndLargeOnesDown) {
  EXPECT_EQ(SizeInKBText(0, L"file"), L"0 KB");
  EXPECT_EQ(SizeInKBText(1, L"file"), L"1 KB");
  EXPECT_EQ(SizeInKBText(1023, L"file"), L"1 KB");
  EXPECT_EQ(SizeInKBText(1024, L"file"), L"1 KB");
  EXPECT_EQ(SizeInKBText(1025, L"file"), L"1 KB");
  EXPECT_EQ(SizeInKBText(2047, L"file"), L"1 KB");
  EXPECT_EQ(SizeInKBText(2048, L"file"), L"2 KB");
  EXPECT_EQ(SizeInKBText(5ull << 32, L"file"), L"20971520 KB");
  EXPECT_EQ(SizeInKBText(4096, L"dir"), L" ");
  EXPECT_EQ(SizeInKBText(4096, L"DIR"), L" ");
  EXPECT_EQ(SizeText(1025, L"file", fsByte), L"1025");
  EXPECT_EQ(SizeText(0, L"file", fsByte), L"0");
  EXPECT_EQ(SizeText(1025, L"dir", fsByte), L" ");
  EXPECT_EQ(SizeText(1025, L"file", fsKB), L"1 KB");
}

TEST(FileListFormat, DriveSizesInMegabytesGroupedByTheLocaleSeparator) {
  EXPECT_EQ(DriveSizeText(0, L","), L"0 Mb");
  EXPECT_EQ(DriveSizeText(-1, L","), L"0 Mb");
  EXPECT_EQ(DriveSizeText(999, L","), L" Mb");  // no digits under one megabyte
  EXPECT_EQ(DriveSizeText(1000, L","), L"1 Mb");
  EXPECT_EQ(DriveSizeText(999999, L","), L"999 Mb");
  EXPECT_EQ(DriveSizeText(1234567, L","), L"1,234 Mb");
  EXPECT_EQ(DriveSizeText(39062500, L"\u00a0"), L"39\u00a0062 Mb");
  EXPECT_EQ(DriveSizeText(123456789000, L"."), L"123.456.789 Mb");
  EXPECT_EQ(DriveSizeText(9876543210000, L","), L"9,876,543,210 Mb");
}

TEST(FileListFormat, AttributeLettersInTheirFixedOrder) {
  EXPECT_EQ(AttributeLetters(0x21), L"AR");
  EXPECT_EQ(AttributeLetters(0x27), L"ARHS");
  EXPECT_EQ(AttributeLetters(0x06), L"HS");
  EXPECT_EQ(AttributeLetters(0x01), L"R");
  EXPECT_EQ(AttributeLetters(0x10), L"");
  EXPECT_EQ(AttributeLetters(0x80), L"");
}

TEST(FileListFormat, DriveCaptionKeepsTheDisplayNameUpToItsParenthesis) {
  EXPECT_EQ(DriveCaption(L'C', L"Disque local (C:)"), L" (C:)  Disque local ");
  EXPECT_EQ(DriveCaption(L'D', L"Data (D:) (old)"), L" (D:)  Data ");
  EXPECT_EQ(DriveCaption(L'Z', L"Z:\\"), L" (Z:)  ");
  EXPECT_EQ(DriveCaption(L'A', L""), L" (A:)  ");
}

TEST(FileListFormat, DateTimePatterns) {
  const DateTimeParts t{2024, 3, 5, 9, 7, 4};
  EXPECT_EQ(FormatDateTime(L"dd/MM/yyyy hh:nn:ss", t), L"05/03/2024 09:07:04");
  EXPECT_EQ(FormatDateTime(L"d/M/yy h:n:s", t), L"5/3/24 9:7:4");
  // m right after an hour is minutes, elsewhere the month; letters ignore case.
  EXPECT_EQ(FormatDateTime(L"M/d/yyyy HH:mm", t), L"3/5/2024 09:07");
  EXPECT_EQ(FormatDateTime(L"mm-dd-yy", t), L"03-05-24");
  EXPECT_EQ(FormatDateTime(L"HH'h'mm", t), L"09h07");
  EXPECT_EQ(FormatDateTime(L"dd 'de' \"MM\" yyyy", t), L"05 de MM 2024");
  EXPECT_EQ(FormatDateTime(L"dd.MM.yy", t), L"05.03.24");
  // Longer runs give the two-digit form; unknown letters are copied.
  EXPECT_EQ(FormatDateTime(L"dd-MMM-yyy g", t), L"05-03-2024 g");
}

TEST(FileListFormat, TwelveHourClockWithItsMarker) {
  EXPECT_EQ(FormatDateTime(L"h:mm AM/PM", {2024, 1, 1, 0, 5, 0}), L"12:05 AM");
  EXPECT_EQ(FormatDateTime(L"h:mm AM/PM", {2024, 1, 1, 12, 0, 0}), L"12:00 PM");
  EXPECT_EQ(FormatDateTime(L"hh:mm am/pm", {2024, 1, 1, 13, 30, 0}), L"01:30 pm");
  EXPECT_EQ(FormatDateTime(L"HH:mm", {2024, 1, 1, 13, 30, 0}), L"13:30");
}

TEST(FileListFormat, DateAndTimePatternTables) {
  EXPECT_EQ(DatePattern(df_MMddyyyy, L"x"), L"MM/dd/yyyy");
  EXPECT_EQ(DatePattern(df_ddMMyy_DE, L"x"), L"dd.MM.yy");
  EXPECT_EQ(DatePattern(df_ddMMyy_IT, L"x"), L"dd-MM-yy");
  EXPECT_EQ(DatePattern(df_yyMMdd, L"x"), L"yy-MM-dd");
  EXPECT_EQ(DatePattern(df_Customize, L"dd/MM/yyyy"), L"dd/MM/yyyy");

  EXPECT_EQ(TimePattern(tfShortFormat, {false, true, L"HH:mm:ss"}), L"hh:mm");
  EXPECT_EQ(TimePattern(tfLongFormat, {false, true, L"HH:mm:ss"}), L"hh:mm:ss");
  EXPECT_EQ(TimePattern(tfShortFormat, {true, false, L"h:mm:ss tt"}), L"h:mm AM/PM");
  EXPECT_EQ(TimePattern(tfCustomize, {true, false, L"h:mm:ss tt"}), L"h:mm:ss  AM/PM");
  EXPECT_EQ(TimePattern(tfCustomize, {false, true, L"HH:mm:ss"}), L"HH:mm:ss AM/PM");
}

TEST(FileListFormat, SortKeysHaveFifteenSignificantDigits) {
  EXPECT_EQ(SortKeyText(0), L"0");
  EXPECT_EQ(SortKeyText(999), L"999");
  EXPECT_EQ(SortKeyText(132537600000000000ull), L"1.325376E17");
  EXPECT_EQ(SortKeyText(123456789012345678ull), L"1.23456789012346E17");
  // Times closer than the fifteenth digit compare equal, others do not.
  EXPECT_EQ(SortKeyValue(133000000000000001ull), SortKeyValue(133000000000000002ull));
  EXPECT_LT(SortKeyValue(133000000000000000ull), SortKeyValue(133000000000001000ull));
}

RowTexts Row(const std::wstring& caption, const std::wstring& size, const std::wstring& type,
             const std::wstring& attrs, const std::wstring& kind, std::uint64_t time = 0) {
  RowTexts r;
  r.caption = caption;
  r.sub[0] = size;
  r.sub[1] = type;
  r.sub[2] = L"01/01/2024 10:00";
  r.sub[3] = attrs;
  r.sub[4] = L"C:\\d\\" + caption;
  r.sub[5] = kind;
  r.sub[6] = SortKeyText(time);
  return r;
}

TEST(FileListFormat, CompareItemsByNameFoldersFirstAscendingLastDescending) {
  const std::wstring parent = L" Parent";
  RowTexts dirB = Row(L"bdir", L" ", L"Folder", L"", L"dir");
  RowTexts fileA = Row(L"a.txt", L"1 KB", L"Text", L"A", L"file");
  RowTexts fileC = Row(L"C.txt", L"1 KB", L"Text", L"A", L"file");
  EXPECT_EQ(CompareItems(dirB, fileA, 0, false, parent, fsKB), -1);
  EXPECT_EQ(CompareItems(fileA, dirB, 0, false, parent, fsKB), 1);
  EXPECT_EQ(CompareItems(dirB, fileA, 0, true, parent, fsKB), 1);
  // Names compare upper-cased.
  EXPECT_EQ(CompareItems(fileA, fileC, 0, false, parent, fsKB), -1);
  EXPECT_EQ(CompareItems(fileA, fileC, 0, true, parent, fsKB), 1);
  EXPECT_EQ(CompareItems(fileA, Row(L"A.TXT", L"1 KB", L"Text", L"A", L"file"), 0, false, parent, fsKB), 0);
}

TEST(FileListFormat, CompareItemsByTheOtherColumns) {
  const std::wstring parent = L" Parent";
  RowTexts small = Row(L"z", L"2 KB", L"text document", L"AR", L"file", 200);
  RowTexts big = Row(L"a", L"10 KB", L"Bitmap", L"A", L"file", 100);
  // Sizes compare as numbers, not as text.
  EXPECT_EQ(CompareItems(small, big, 1, false, parent, fsKB), -1);
  EXPECT_EQ(CompareItems(Row(L"x", L"2048", L"", L"", L"file"), Row(L"y", L"10000", L"", L"", L"file"), 1, false,
                         parent, fsByte),
            -1);
  EXPECT_EQ(CompareItems(small, big, 2, false, parent, fsKB), 1);
  EXPECT_EQ(CompareItems(small, Row(L"q", L"", L"TEXT DOCUMENT", L"", L"file"), 2, false, parent, fsKB), 0);
  EXPECT_EQ(CompareItems(small, big, 3, false, parent, fsKB), 1);
  EXPECT_EQ(CompareItems(small, big, 3, true, parent, fsKB), -1);
  EXPECT_EQ(CompareItems(small, big, 4, false, parent, fsKB), 1);
  EXPECT_EQ(SizeNumber(L" ", fsKB), 0);
  EXPECT_EQ(SizeNumber(L"12 KB", fsKB), 12);
  EXPECT_EQ(SizeNumber(L" 1025 ", fsByte), 1025);
}

TEST(FileListFormat, TheParentRowLeadsInBothDirectionsAndTheOrderStaysConsistent) {
  const std::wstring parent = L" Parent";
  std::vector<RowTexts> rows = {
      Row(L"plain", L" ", L"Folder", L"", L"dir"),     Row(L"f1", L"3 KB", L"Text", L"A", L"file"),
      Row(parent, L" ", L" ", L" ", L"dir"),           Row(L"archived", L" ", L"Folder", L"A", L"dir"),
      Row(L"f2", L"1 KB", L"Text", L"AR", L"file"),    Row(L"f3", L"3 KB", L"Text", L"", L"file"),
  };
  for (int column = 0; column < 5; ++column) {
    for (bool descending : {false, true}) {
      std::vector<RowOrderKey> keys;
      for (const auto& r : rows) keys.push_back(OrderKeyOf(r, column, parent, fsKB));
      std::vector<std::uint32_t> order = {0, 1, 2, 3, 4, 5};
      SortRowOrder(order, keys, column, descending);
      SCOPED_TRACE(testing::Message() << "column " << column << (descending ? " descending" : " ascending"));
      EXPECT_EQ(order[0], 2u);
      // Folders together: after the parent ascending, at the end descending.
      std::wstring kinds;
      for (auto i : order) kinds += rows[i].sub[5][0];
      EXPECT_EQ(kinds, descending ? L"dfffdd" : L"dddfff");
      for (std::size_t i = 1; i + 1 < order.size(); ++i)
        EXPECT_LE(CompareKeys(keys[order[i]], keys[order[i + 1]], column, descending), 0);
    }
  }
}

TEST(FileListFormat, EqualRowsKeepTheirListingOrder) {
  std::vector<RowOrderKey> keys(4);
  for (auto& k : keys) k.number = 1;
  keys[2].number = 0;
  std::vector<std::uint32_t> order = {0, 1, 2, 3};
  SortRowOrder(order, keys, 1, false);
  EXPECT_EQ(order, (std::vector<std::uint32_t>{2, 0, 1, 3}));
  order = {0, 1, 2, 3};
  SortRowOrder(order, keys, 1, true);
  EXPECT_EQ(order, (std::vector<std::uint32_t>{0, 1, 3, 2}));
}

TEST(FileListFormat, SortingByBorrowedTextsGivesTheOrderOfUpperCasedCopies) {
  // An upper case for the test: ASCII letters and e acute.
  std::vector<wchar_t> upper(0x10000);
  for (std::size_t i = 0; i < upper.size(); ++i) upper[i] = static_cast<wchar_t>(i);
  for (wchar_t c = L'a'; c <= L'z'; ++c) upper[static_cast<std::size_t>(c)] = static_cast<wchar_t>(c - 32);
  upper[0xE9] = 0xC9;
  auto up = [&](std::wstring_view t) {
    std::wstring s(t);
    for (auto& c : s) c = upper[static_cast<std::size_t>(c)];
    return s;
  };
  // Ties in every form (same letters in another case), prefixes, folders
  // and the parent row, listed in no order.
  const std::vector<std::wstring> texts = {L"b", L"..", L"\u00E9t\u00E9", L"B", L"ab", L"a", L"Z", L"\u00C9T\u00C9",
                                           L"abc", L"dir", L"Dir", L"a", L"zz"};
  const std::vector<bool> dirs = {false, true, false, false, true, false, false, false,
                                  false, true, true, false, false};
  std::vector<RowOrderView> views;
  std::vector<RowOrderKey> keys;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    views.push_back({i == 1, dirs[i], texts[i]});
    RowOrderKey k;
    k.parent = i == 1;
    k.dir = dirs[i];
    k.text = up(texts[i]);
    keys.push_back(k);
  }
  for (bool descending : {false, true}) {
    std::vector<std::uint32_t> expected(texts.size()), got(texts.size());
    for (std::uint32_t i = 0; i < expected.size(); ++i) expected[i] = got[i] = i;
    SortRowOrder(expected, keys, 0, descending);
    SortRowOrderByText(got, views, upper.data(), descending);
    EXPECT_EQ(got, expected) << (descending ? "descending" : "ascending");
    EXPECT_EQ(got[0], 1u);
    // An order already sorted stays as it is, ties included; the same rows
    // in reverse are sorted again (ties may then change places).
    SortRowOrderByText(got, views, upper.data(), descending);
    EXPECT_EQ(got, expected);
    std::reverse(got.begin(), got.end());
    SortRowOrderByText(got, views, upper.data(), descending);
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(up(texts[got[i]]), up(texts[expected[i]])) << i;
      EXPECT_EQ(dirs[got[i]], dirs[expected[i]]) << i;
    }
  }
}

}  // namespace
}  // namespace ferlane
