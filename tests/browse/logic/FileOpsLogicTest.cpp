#include "browse/logic/FileOpsLogic.h"

#include <gtest/gtest.h>

#include <set>

namespace ferlane::fileops {
namespace {

TEST(FileOpsLogic, ViewerTableAndClipboardContents) {
  EXPECT_STREQ(ViewerFor(L".txt"), L"NotePad.exe");
  EXPECT_STREQ(ViewerFor(L".Rtf"), L"Write.exe");
  EXPECT_STREQ(ViewerFor(L".JPG"), L"PBrush.exe");
  EXPECT_EQ(ViewerFor(L".exe"), nullptr);
  EXPECT_EQ(ViewerFor(L""), nullptr);
  // The first fourteen (to .BMP), .RTF and .WMF; not .GIF or .JPG.
  EXPECT_TRUE(ClipboardContentsAllowed(L".bmp"));
  EXPECT_TRUE(ClipboardContentsAllowed(L".WMF"));
  EXPECT_FALSE(ClipboardContentsAllowed(L".gif"));
  EXPECT_FALSE(ClipboardContentsAllowed(L".jpg"));
}

TEST(FileOpsLogic, FreeFolderPathNumbersWithoutABlank) {
  std::set<std::wstring> taken{L"C:\\x\\Nouveau Dossier", L"C:\\x\\Nouveau Dossier(2)"};
  auto exists = [&](const std::wstring& p) { return taken.count(p) > 0; };
  EXPECT_EQ(FreeFolderPath(L"C:\\x\\Nouveau Dossier", exists), L"C:\\x\\Nouveau Dossier(3)");
  EXPECT_EQ(FreeFolderPath(L"C:\\x\\Autre", exists), L"C:\\x\\Autre");
}

TEST(FileOpsLogic, ArgumentsWithBlanksStayOneArgument) {
  EXPECT_EQ(QuoteArgument(L"a b.txt"), L"\"a b.txt\"");
  EXPECT_EQ(QuoteArgument(L"plain.txt"), L"\"plain.txt\"");
  EXPECT_EQ(QuoteArgument(L"\"done.txt\""), L"\"done.txt\"");
  EXPECT_EQ(QuoteArgument(L""), L"");
}

TEST(FileOpsLogic, ListMenuEnabling) {
  ListMenuState none;
  auto on = ListMenuEnabled(none);
  for (int i = 0; i < kListMenuItemCount; ++i)
    EXPECT_EQ(on[i], static_cast<ListMenuItem>(i) == ListMenuItem::NewFolder) << i;
  ListMenuState two{2, L".bin", true, false};
  on = ListMenuEnabled(two);
  EXPECT_TRUE(on[static_cast<int>(ListMenuItem::Paste)]);
  EXPECT_FALSE(on[static_cast<int>(ListMenuItem::Rename)]);
  EXPECT_FALSE(on[static_cast<int>(ListMenuItem::View)]);
  EXPECT_TRUE(on[static_cast<int>(ListMenuItem::DesktopShortcut)]);
  ListMenuState drives{1, L"", false, true};
  EXPECT_FALSE(ListMenuEnabled(drives)[static_cast<int>(ListMenuItem::NewFolder)]);
}

TEST(FileOpsLogic, TreeMenuEnablingByLevel) {
  auto count = [](const auto& a) { int n = 0; for (bool b : a) n += b; return n; };
  EXPECT_EQ(count(TreeMenuEnabled(-1, true)), 2);  // no node: the two network items
  EXPECT_EQ(count(TreeMenuEnabled(0, true)), 2);
  EXPECT_EQ(count(TreeMenuEnabled(1, true)), 6);
  EXPECT_FALSE(TreeMenuEnabled(2, false)[static_cast<int>(TreeMenuItem::Paste)]);
  EXPECT_TRUE(TreeMenuEnabled(3, true)[static_cast<int>(TreeMenuItem::Paste)]);
}

TEST(FileOpsLogic, TreeSizeTexts) {
  LoadTreeTexts(lnFrench);
  const NumberFormat fr{L"\u00A0", L","};
  EXPECT_EQ(FormatNumber(1234567.0, 0, fr), L"1\u00A0234\u00A0567");
  EXPECT_EQ(FormatNumber(0.0, 2, fr), L"0,00");
  EXPECT_EQ(TreeSizeHeader(true, L"C:\\"), L"Lecteur C:\\");
  EXPECT_EQ(TreeSizeHeader(false, L"C:\\A\\Docs"), L"Dossier \"Docs\"");
  const std::wstring tail = L"\r =  10 Bytes\r     (i.e. 1,00 KB )";
  EXPECT_EQ(TreeSizeMessage(L"H", 10, fr),
            L"===== Taille de l'arbre =====\r\rH\ret de tous ses sous-dossiers " + tail);
  // An empty tree is 0 KB; past 99,999 KB the figure is in MB.
  EXPECT_NE(TreeSizeMessage(L"H", 0, fr).find(L"(i.e. 0,00 KB )"), std::wstring::npos);
  EXPECT_NE(TreeSizeMessage(L"H", 1536, fr).find(L"(i.e. 1,50 KB )"), std::wstring::npos);
  EXPECT_NE(TreeSizeMessage(L"H", 200ull * 1024 * 1024, fr).find(L"(i.e. 200,00 MB )"), std::wstring::npos);
  LoadTreeTexts(lnEnglish);
}

TEST(FileOpsLogic, ContentsTitleAndGuessedDriveLetter) {
  EXPECT_EQ(FolderContentsTitle(true, L"C:\\"), L"\" C:\\ \"");
  EXPECT_EQ(FolderContentsTitle(false, L"C:\\A\\Docs"), L"\" ..\\Docs \"");
  EXPECT_EQ(NextDriveLetter(0x4 | 0x8), L'E');  // C and D present
  EXPECT_EQ(NextDriveLetter(0), L' ');
  EXPECT_EQ(NextDriveLetter(1u << 25), L' ');  // after Z there is none
}

}  // namespace
}  // namespace ferlane::fileops
