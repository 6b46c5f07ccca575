#include <gtest/gtest.h>

#include <string>

#include "protect/logic/ExactPath.h"
#include "protect/logic/ListFile.h"

namespace ferlane {
namespace {

using namespace std::string_literals;
using WLines = std::vector<std::wstring>;

// Stands in for the system's ANSI conversion: Latin-1, every byte a character.
bool Latin1(std::string_view in, std::wstring& out) {
  out.clear();
  for (unsigned char c : in) out += static_cast<wchar_t>(c);
  return true;
}

TEST(ListTextEncoding, ChosenByMarkThenByValidUtf8) {
  EXPECT_EQ(DetectListEncoding("\xEF\xBB\xBF" "a"), ListEncoding::Utf8WithBom);
  EXPECT_EQ(DetectListEncoding("\xFF\xFE" "a\0"s), ListEncoding::Utf16Le);
  EXPECT_EQ(DetectListEncoding("\xFE\xFF\0a"s), ListEncoding::Utf16Be);
  EXPECT_EQ(DetectListEncoding("caf\xC3\xA9\r\n"), ListEncoding::Utf8);
  // Without a mark, UTF-16 by a NUL beside the first character, as standard
  // input is read; a NUL further on is a cut, not UTF-16.
  EXPECT_EQ(DetectListEncoding("C\0:\0\r\0\n\0"s), ListEncoding::Utf16UnmarkedLe);
  EXPECT_EQ(DetectListEncoding("\0C\0:"s), ListEncoding::Utf16UnmarkedBe);
  EXPECT_EQ(DetectListEncoding("C:\\a\r\nb\0c"s), ListEncoding::Ansi);
  // Plain ASCII and Windows-1252 stay ANSI, as the program writes them.
  EXPECT_EQ(DetectListEncoding("C:\\plain\r\n"), ListEncoding::Ansi);
  EXPECT_EQ(DetectListEncoding("Priv\xE9\r\n"), ListEncoding::Ansi);
  EXPECT_EQ(DetectListEncoding(""), ListEncoding::Ansi);
  // Overlong and surrogate forms are not UTF-8.
  EXPECT_EQ(DetectListEncoding("\xC0\xAF"), ListEncoding::Ansi);
  EXPECT_EQ(DetectListEncoding("\xED\xA0\x80"), ListEncoding::Ansi);
}

TEST(ListTextDecoding, NotepadFormsKeepEveryItem) {
  const WLines expected{L"C:\\caf\u00E9", L"Fichier", L"C:\\Cach\u00E9", L"Dossier"};
  // UTF-8 without a mark (today's Notepad).
  ListText t = DecodeListText("C:\\caf\xC3\xA9\r\nFichier\r\nC:\\Cach\xC3\xA9\r\nDossier\r\n", Latin1);
  EXPECT_TRUE(t.whole);
  EXPECT_EQ(t.lines, expected);
  // "Unicode" (UTF-16 LE with a mark) and its big-endian sister.
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (wchar_t c : L"C:\\caf\u00E9\r\nFichier\r\nC:\\Cach\u00E9\r\nDossier\r\n"s) {
    le += static_cast<char>(c & 0xFF), le += static_cast<char>(c >> 8);
    be += static_cast<char>(c >> 8), be += static_cast<char>(c & 0xFF);
  }
  // The same without their marks, as "cmd /u" writes them.
  for (const auto& bytes : {le, be, le.substr(2), be.substr(2)}) {
    t = DecodeListText(bytes, Latin1);
    EXPECT_TRUE(t.whole);
    EXPECT_EQ(t.lines, expected);
  }
  // A character beyond the basic plane comes through whole.
  t = DecodeListText("\xFF\xFE\x3D\xD8\x00\xDE"s, Latin1);
  EXPECT_TRUE(t.whole);
  ASSERT_EQ(t.lines.size(), 1u);
  std::wstring face;
  ASSERT_TRUE(DecodeUtf8("\xF0\x9F\x98\x80", face));
  EXPECT_EQ(t.lines[0], face);
}

TEST(ListTextDecoding, WhatCannotBeReadWholeIsFlagged) {
  // A NUL byte: the lines before it load, and the file is marked.
  ListText t = DecodeListText("C:\\a\r\nFichier\r\n\0C:\\b\r\nFichier\r\n"s, Latin1);
  EXPECT_FALSE(t.whole);
  EXPECT_EQ(t.lines, (WLines{L"C:\\a", L"Fichier"}));
  // Only whole lines: the text before a NUL on its line is no line.
  t = DecodeListText("alpha\r\nC:\\data\\be\0ta.txt\r\ngamma"s, Latin1);
  EXPECT_FALSE(t.whole);
  EXPECT_EQ(t.lines, (WLines{L"alpha"}));
  // Odd UTF-16 length, a lone surrogate, a broken sequence behind a UTF-8 mark.
  EXPECT_FALSE(DecodeListText("\xFF\xFE" "a\0b"s, Latin1).whole);
  EXPECT_FALSE(DecodeListText("\xFF\xFE\x00\xDC"s, Latin1).whole);
  EXPECT_FALSE(DecodeListText("\xEF\xBB\xBF" "a\xC3", Latin1).whole);
  EXPECT_FALSE(DecodeListText("x", [](std::string_view, std::wstring&) { return false; }).whole);
  EXPECT_TRUE(DecodeListText("", Latin1).whole);
}

TEST(ListTextEncoding, EachCharacterIsConvertedOnceAndAMissingOneStops) {
  // A double-byte page in miniature: "é" takes two bytes, "Ω" has none.
  std::wstring asked;
  CharCacheEncoder encoder([&](wchar_t c, std::string& bytes) {
    asked += c;
    if (c == L'\u03A9') return false;
    bytes = c == L'\u00E9' ? "\x88\xE9" : std::string(1, static_cast<char>(c));
    return true;
  });
  std::string out = "head";
  ASSERT_TRUE(encoder.Append(L"\u00E9t\u00E9", out));
  ASSERT_TRUE(encoder.Append(L"", out));
  ASSERT_TRUE(encoder.Append(L"tt\u00E9", out));
  EXPECT_EQ(out, "head\x88\xE9t\x88\xE9tt\x88\xE9");
  EXPECT_EQ(asked, L"\u00E9t");
  // No spelling: false, and nothing of that text is kept.
  EXPECT_FALSE(encoder.Append(L"t\u03A9t", out));
  EXPECT_FALSE(encoder.Append(L"\u03A9", out));
  EXPECT_EQ(out, "head\x88\xE9t\x88\xE9tt\x88\xE9");
  EXPECT_EQ(asked, L"\u00E9t\u03A9");
}

TEST(ListTextEncoding, Utf8RoundTripsAndMendsALoneSurrogate) {
  std::wstring text = L"C:\\Donn\u00E9es\\\u65E5\u672C";
  text += static_cast<wchar_t>(0xD83D);  // 😀 as UTF-16 (or one unit off Windows)
  if constexpr (sizeof(wchar_t) == 2) text += static_cast<wchar_t>(0xDE00);
  else text.back() = static_cast<wchar_t>(0x1F600);
  std::string bytes;
  AppendUtf8(text, bytes);
  EXPECT_EQ(bytes, "C:\\Donn\xC3\xA9" "es\\\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80");
  std::wstring back;
  ASSERT_TRUE(DecodeUtf8(bytes, back));
  EXPECT_EQ(back, text);
  bytes.clear();
  AppendUtf8(std::wstring(1, static_cast<wchar_t>(0xDC00)) + L"a", bytes);
  EXPECT_EQ(bytes, "\xEF\xBF\xBD" "a");
}

TEST(ListTempNames, OnlyTheSavesOwnTemporaryNames) {
  for (const wchar_t* own : {L"fer1.tmp", L"ferA3F.tmp", L"FER00FF.TMP", L"ferffff.tmp"})
    EXPECT_TRUE(IsListTempName(own)) << own;
  for (const wchar_t* other : {L"fer.tmp", L"fer12345.tmp", L"ferg1.tmp", L"fer1.tmpx", L"xfer1.tmp", L"fer1.bak",
                               L"dupont", L"fer1"})
    EXPECT_FALSE(IsListTempName(other)) << other;
  EXPECT_EQ(ListBackupName(L"C:\\P\\dupont", 1), L"C:\\P\\dupont.bak");
  EXPECT_EQ(ListBackupName(L"C:\\P\\dupont", 3), L"C:\\P\\dupont.bak3");
}

TEST(ExactPathForm, KeepsTheExactNameAndCleansTheRest) {
  // Trailing dot and blank kept: the item named is the item changed.
  EXPECT_EQ(ExactPath(L"C:\\odd\\twin."), L"\\\\?\\C:\\odd\\twin.");
  EXPECT_EQ(ExactPath(L"C:\\odd\\twin "), L"\\\\?\\C:\\odd\\twin ");
  EXPECT_EQ(ExactPath(L"C:\\"), L"\\\\?\\C:\\");
  EXPECT_EQ(ExactPath(L"c:/a//b/./c/../d\\"), L"\\\\?\\c:\\a\\b\\d\\");
  EXPECT_EQ(ExactPath(L"C:\\..\\..\\x"), L"\\\\?\\C:\\x");
  EXPECT_EQ(ExactPath(L"\\\\srv\\share\\dir\\..\\..\\f."), L"\\\\?\\UNC\\srv\\share\\f.");
  // The one spelling the rows of a path share; the exact name is the line's own.
  EXPECT_EQ(MeantPath(L" \t\"C:/a//b/./c\\\"  "), L"C:\\a\\b\\c");
  EXPECT_EQ(MeantPath(L"//srv/share/"), L"\\\\srv\\share");
  EXPECT_EQ(MeantPath(L"c:\\"), L"c:\\");
  EXPECT_EQ(TrimListedName(L" \"\"C:\\a\"\" "), L"\"C:\\a\"");
  // Already exact, a device, relative or not a path at all: unchanged.
  for (const wchar_t* same : {L"\\\\?\\C:\\x.", L"\\\\.\\C:", L"twin.", L"Drives\\x", L"C:rel", L"\\\\srv", L""})
    EXPECT_EQ(ExactPath(same), same);
}

}  // namespace
}  // namespace ferlane
