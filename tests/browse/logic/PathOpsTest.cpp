#include "browse/logic/PathOps.h"

#include <gtest/gtest.h>

#include "browse/logic/Language.h"

namespace ferlane {
namespace {

TEST(PathOps, SlashesAreAddedAndRemovedOnce) {
  EXPECT_EQ(AddSlash(L""), L"");
  EXPECT_EQ(AddSlash(L"C:"), L"C:\\");
  EXPECT_EQ(AddSlash(L"C:\\Temp\\"), L"C:\\Temp\\");
  EXPECT_EQ(AddSlash(L"C:\\Temp"), L"C:\\Temp\\");
  EXPECT_EQ(DelSlash(L"C:\\Temp\\"), L"C:\\Temp");
  EXPECT_EQ(DelSlash(L"C:\\Temp\\\\"), L"C:\\Temp\\");
  EXPECT_EQ(DelSlash(L"C:\\Temp"), L"C:\\Temp");
  EXPECT_EQ(DelSlash(L""), L"");
}

TEST(PathOps, NullTermMakesTheShellsPathListForm) {
  EXPECT_EQ(AddNullTerm(L""), L"");
  std::wstring one = AddNullTerm(L"C:\\a.txt");
  ASSERT_EQ(one.size(), 9u);
  EXPECT_EQ(one.back(), L'\0');
  // A list already ending in NUL is left alone, so its terminator makes the double NUL.
  std::wstring list(L"C:\\a\0C:\\b\0", 10);
  EXPECT_EQ(AddNullTerm(list), list);
  EXPECT_EQ(AddNullTerm(one), one);
}

TEST(PathOps, JoinPathNeedsBothParts) {
  EXPECT_EQ(JoinPath(L"C:\\Temp", L"a.txt"), L"C:\\Temp\\a.txt");
  EXPECT_EQ(JoinPath(L"C:\\Temp\\", L"a.txt"), L"C:\\Temp\\a.txt");
  EXPECT_EQ(JoinPath(L"", L"a.txt"), L"");
  EXPECT_EQ(JoinPath(L"C:\\Temp", L""), L"");
}

TEST(PathOps, InvalidFolderCharacters) {
  EXPECT_FALSE(HasInvalidChar(kInvalidFolderChars, L"Nouveau Dossier (2)"));
  for (wchar_t c : std::wstring(kInvalidFolderChars)) {
    std::wstring name = L"ab";
    name.insert(1, 1, c);
    EXPECT_TRUE(HasInvalidChar(kInvalidFolderChars, name)) << static_cast<int>(c);
  }
  EXPECT_EQ(std::wstring(kInvalidFolderChars).size(), 14u);
  EXPECT_FALSE(HasInvalidChar(L"", L"anything"));
  EXPECT_FALSE(HasInvalidChar(L"*", L""));
}

TEST(PathOps, NamePartsOfAPath) {
  EXPECT_EQ(ExtractFileName(L"C:\\Dir\\file.txt"), L"file.txt");
  EXPECT_EQ(ExtractFileName(L"C:file.txt"), L"file.txt");
  EXPECT_EQ(ExtractFileName(L"file.txt"), L"file.txt");
  EXPECT_EQ(ExtractFileName(L"C:\\Dir\\"), L"");
  EXPECT_EQ(ExtractFilePath(L"C:\\Dir\\file.txt"), L"C:\\Dir\\");
  EXPECT_EQ(ExtractFilePath(L"C:file.txt"), L"C:");
  EXPECT_EQ(ExtractFilePath(L"file.txt"), L"");

  EXPECT_EQ(ExtractFileExt(L"C:\\Dir\\archive.tar.gz"), L".gz");
  EXPECT_EQ(ExtractFileExt(L"README"), L"");
  EXPECT_EQ(ExtractFileExt(L"C:\\my.dir\\README"), L"");  // a dot of the folder is no extension
  EXPECT_EQ(ExtractFileExt(L"name."), L".");
}

TEST(PathOps, NameWithoutExtCutsOnlyTheTail) {
  EXPECT_EQ(NameWithoutExt(L"C:\\Dir\\Lettre.doc"), L"Lettre");
  EXPECT_EQ(NameWithoutExt(L"C:\\Dir\\README"), L"README");
  EXPECT_EQ(NameWithoutExt(L"C:\\Dir\\a.txt.txt"), L"a.txt");
  // The same text earlier in the name stays where it is.
  EXPECT_EQ(NameWithoutExt(L"C:\\Dir\\my.txtfile.txt"), L"my.txtfile");
  EXPECT_EQ(NameWithoutExt(L"C:\\my.dir\\README"), L"README");
}

TEST(PathOps, CaseAndBlanks) {
  EXPECT_EQ(UpperCase(L".txt"), L".TXT");
  EXPECT_EQ(UpperCase(L"éàçÿ÷ß1"), L"ÉÀÇ\u0178÷ß1");
  EXPECT_TRUE(SameTextIgnoreCase(L"Drives", L"DRIVES"));
  EXPECT_TRUE(SameTextIgnoreCase(L"drives", L"dRiVeS"));
  EXPECT_TRUE(SameTextIgnoreCase(L"Réseau", L"RÉSEAU"));
  EXPECT_FALSE(SameTextIgnoreCase(L"Drive", L"Drives"));
  EXPECT_FALSE(SameTextIgnoreCase(L"a", L"b"));
  EXPECT_EQ(Trim(L"  Parent \t"), L"Parent");
  EXPECT_EQ(Trim(L"   "), L"");
  EXPECT_EQ(Trim(L"a b"), L"a b");
}

TEST(Language, PrimaryLanguageOfALangId) {
  EXPECT_EQ(LanguageFromLangId(0x040C), lnFrench);   // French (France)
  EXPECT_EQ(LanguageFromLangId(0x0C0C), lnFrench);   // French (Canada)
  EXPECT_EQ(LanguageFromLangId(0x0407), lnGerman);
  EXPECT_EQ(LanguageFromLangId(0x0C0A), lnSpanish);
  EXPECT_EQ(LanguageFromLangId(0x0416), lnPortuguese);
  EXPECT_EQ(LanguageFromLangId(0x0816), lnPortuguese);
  EXPECT_EQ(LanguageFromLangId(0x0410), lnItalian);
  EXPECT_EQ(LanguageFromLangId(0x0813), lnDutch);
  EXPECT_EQ(LanguageFromLangId(0x0415), lnPolish);
  EXPECT_EQ(LanguageFromLangId(0x041B), lnSlovak);
  EXPECT_EQ(LanguageFromLangId(0x0409), lnEnglish);
  EXPECT_EQ(LanguageFromLangId(0x0411), lnEnglish);  // Japanese: not one of the nine
  EXPECT_EQ(LanguageFromLangId(0), lnEnglish);
}

}  // namespace
}  // namespace ferlane
