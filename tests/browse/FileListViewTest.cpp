// The file list view's listings: rows, columns, order, drives, texts.
#include "browse/FileListView.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include "browse/FileListViewFixture.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "platform/Registry.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

TEST_F(FileListViewTest, NewViewHasItsInitialPropertiesAndListsNothingYet) {
  EXPECT_EQ(view_.Directory(), L"Drives");
  EXPECT_EQ(view_.Mask(), L"*.*");
  EXPECT_EQ(view_.FileType(), FileAttrs({ftReadOnly, ftHidden, ftSystem, ftArchive}));
  EXPECT_TRUE(view_.ShowFolders());
  EXPECT_FALSE(view_.HideFileExt());
  EXPECT_TRUE(view_.ParentDirEnabled());
  EXPECT_EQ(view_.ParentDirCaption(), L" Parent");
  EXPECT_EQ(view_.DateFormat(), df_Customize);
  EXPECT_EQ(view_.TimeFormat(), tfShortFormat);
  EXPECT_EQ(view_.FileSize(), fsKB);
  EXPECT_EQ(view_.ColWidth_Name(), 165);
  EXPECT_EQ(view_.ColWidth_Attr(), 40);
  EXPECT_EQ(view_.Language(), lnEnglish);
  EXPECT_TRUE(view_.MultiSelect());
  EXPECT_FALSE(view_.ReadOnly());
  EXPECT_EQ(view_.ViewStyle(), vsReport);
  EXPECT_EQ(view_.About(), L"Version 1.0");
  EXPECT_EQ(view_.ItemCount(), 0);
  // Folder-mode columns in English.
  ASSERT_EQ(Header_GetItemCount(Header()), 5);
  EXPECT_EQ(HeaderText(0), L"Name");
  EXPECT_EQ(HeaderText(3), L"Modified");
  // Both the widget and its list lead back to the widget.
  EXPECT_EQ(TFileListView::FromHwnd(view_.hwnd()), &view_);
  EXPECT_EQ(TFileListView::FromHwnd(view_.ListHwnd()), &view_);
  EXPECT_EQ(TFileListView::FromHwnd(host_), nullptr);
}

TEST_F(FileListViewTest, FolderRowsWithSizesAttributesAndFoldersFirst) {
  MakeKnownFolder();
  view_.SetDirectory(dir_.path());
  EXPECT_EQ(view_.Directory(), dir_.path());
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L" Parent", L"sub", L"zfolder", L"archive.txt", L"big.bin",
                                                   L"empty.txt", L"hidden.txt", L"k.bin", L"k1.bin", L"one.bin",
                                                   L"readonly.txt", L"system.dat"}));
  EXPECT_EQ(view_.SubItem(Row(L"empty.txt"), 0), L"0 KB");
  EXPECT_EQ(view_.SubItem(Row(L"one.bin"), 0), L"1 KB");
  EXPECT_EQ(view_.SubItem(Row(L"k.bin"), 0), L"1 KB");
  EXPECT_EQ(view_.SubItem(Row(L"k1.bin"), 0), L"1 KB");
  EXPECT_EQ(view_.SubItem(Row(L"big.bin"), 0), L"4 KB");
  EXPECT_EQ(view_.SubItem(Row(L"sub"), 0), L" ");
  // Wine adds the archive bit to every file; the letters follow the bits.
  for (const wchar_t* name : {L"hidden.txt", L"system.dat", L"readonly.txt", L"archive.txt", L"sub"})
    EXPECT_EQ(view_.SubItem(Row(name), 3), AttributeLetters(::GetFileAttributesW((dir_ / name).c_str()))) << name;
  EXPECT_NE(view_.SubItem(Row(L"hidden.txt"), 3).find(L'H'), std::wstring::npos);
  EXPECT_NE(view_.SubItem(Row(L"system.dat"), 3).find(L'S'), std::wstring::npos);
  EXPECT_NE(view_.SubItem(Row(L"readonly.txt"), 3).find(L'R'), std::wstring::npos);
  EXPECT_EQ(view_.SubItem(Row(L"archive.txt"), 3), L"A");

  const int k = Row(L"k.bin");
  EXPECT_EQ(view_.SubItem(k, 4), dir_ / L"k.bin");
  EXPECT_EQ(view_.SubItem(k, 5), L"file");
  EXPECT_EQ(view_.SubItem(Row(L"sub"), 4), dir_ / L"sub");
  EXPECT_EQ(view_.SubItem(Row(L"sub"), 5), L"dir");
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(::GetFileAttributesExW((dir_ / L"k.bin").c_str(), GetFileExInfoStandard, &data));
  const std::uint64_t written =
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  EXPECT_EQ(view_.SubItem(k, 6), SortKeyText(written));

  // The parent row: three blank columns, a blank size, the cached picture.
  EXPECT_EQ(view_.SubItem(0, 0), L" ");
  EXPECT_EQ(view_.SubItem(0, 1), L" ");
  EXPECT_EQ(view_.SubItem(0, 2), L" ");
  EXPECT_EQ(view_.SubItem(0, 3), L" ");
  EXPECT_EQ(view_.SubItem(0, 4), dir_ / L"..");
  RegistryKey key;
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, L"Software\\Tavrel\\FileBrowser"), ERROR_SUCCESS);
  auto cached = key.ReadDword(L"ParentImgIdx");
  ASSERT_TRUE(cached.has_value());
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 0;
  ASSERT_TRUE(ListView_GetItem(view_.ListHwnd(), &item));
  EXPECT_EQ(item.iImage, static_cast<int>(*cached));
  // The shell's own icons, added after it, are not shifted onto it.
  LVITEMW folder{};
  folder.mask = LVIF_IMAGE;
  folder.iItem = Row(L"sub");
  ASSERT_TRUE(ListView_GetItem(view_.ListHwnd(), &folder));
  EXPECT_NE(folder.iImage, item.iImage);

  // The list control answers with the same texts (caption, then sub-items).
  EXPECT_EQ(CellText(k, 0), L"k.bin");
  EXPECT_EQ(CellText(k, 1), L"1 KB");
  EXPECT_EQ(CellText(k, 2), view_.SubItem(k, 1));
  EXPECT_EQ(CellText(k, 4), L"A");
  // Nothing selected, the first row has the focus mark.
  EXPECT_EQ(view_.SelectedIndex(), -1);
  EXPECT_EQ(ListView_GetNextItem(view_.ListHwnd(), -1, LVNI_FOCUSED), 0);
}

TEST_F(FileListViewTest, ModifiedTextFollowsTheDateAndTimeFormats) {
  std::wstring path = dir_.File(L"dated.txt", 3);
  // 2021-07-04 13:05:09 local time.
  SYSTEMTIME st{2021, 7, 0, 4, 13, 5, 9, 0};
  FILETIME local, utc;
  ASSERT_TRUE(::SystemTimeToFileTime(&st, &local));
  ASSERT_TRUE(::LocalFileTimeToFileTime(&local, &utc));
  HANDLE h = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::SetFileTime(h, nullptr, nullptr, &utc);
  ::CloseHandle(h);

  view_.SetDateFormat(df_ddMMyy_DE);
  view_.SetTimeFormat(tfCustomize);
  view_.SetDirectory(dir_.path());
  const std::wstring text = view_.SubItem(Row(L"dated.txt"), 2);
  EXPECT_EQ(text.substr(0, 9), L"04.07.21 ") << text;
  EXPECT_EQ(text.substr(text.size() - 3), L" PM") << text;

  // A format change waits for the next listing.
  view_.SetDateFormat(df_yyyyMMdd);
  view_.SetTimeFormat(tfLongFormat);
  EXPECT_EQ(view_.SubItem(Row(L"dated.txt"), 2), text);
  view_.UpdateFileList();
  const std::wstring relisted = view_.SubItem(Row(L"dated.txt"), 2);
  EXPECT_EQ(relisted.substr(0, 11), L"2021-07-04 ") << relisted;
  EXPECT_NE(relisted.find(L":05:09"), std::wstring::npos) << relisted;
}

TEST_F(FileListViewTest, HeaderClicksSortDescendingThenAscendingWithTheirPictures) {
  MakeKnownFolder();
  view_.SetParentDirEnabled(false);
  view_.SetDirectory(dir_.path());
  EXPECT_EQ(view_.SortColumn(), 0);
  EXPECT_FALSE(view_.Descending());

  ClickHeader(1);  // Size: first click descending, files first
  EXPECT_EQ(view_.SortColumn(), 1);
  EXPECT_TRUE(view_.Descending());
  auto c = Captions();
  ASSERT_EQ(c.size(), 11u);
  EXPECT_EQ(c.front(), L"big.bin");
  EXPECT_TRUE((c[9] == L"sub" || c[9] == L"zfolder") && (c[10] == L"sub" || c[10] == L"zfolder"));
  EXPECT_EQ(c[8], L"empty.txt");
  HDITEMW size = HeaderItem(1);
  EXPECT_TRUE(size.fmt & HDF_BITMAP);
  EXPECT_TRUE(size.fmt & HDF_BITMAP_ON_RIGHT);
  EXPECT_NE(size.hbm, nullptr);
  EXPECT_FALSE(HeaderItem(0).fmt & HDF_BITMAP);
  const HBITMAP down = size.hbm;

  ClickHeader(1);  // second click ascending, folders first
  EXPECT_FALSE(view_.Descending());
  c = Captions();
  EXPECT_TRUE(c[0] == L"sub" || c[0] == L"zfolder");
  EXPECT_EQ(c[2], L"empty.txt");
  EXPECT_EQ(c.back(), L"big.bin");
  EXPECT_NE(HeaderItem(1).hbm, down);
  EXPECT_NE(HeaderItem(1).hbm, nullptr);

  // Another column starts descending again, and the Size heading loses its picture.
  ClickHeader(4);
  EXPECT_EQ(view_.SortColumn(), 4);
  EXPECT_TRUE(view_.Descending());
  EXPECT_EQ(HeaderItem(4).hbm, down);
  EXPECT_FALSE(HeaderItem(1).fmt & HDF_BITMAP);

  // A listing after another column was sorted: descending by name.
  view_.SetDirectory(DelSlash(dir_.path()));
  EXPECT_EQ(view_.SortColumn(), 0);
  EXPECT_TRUE(view_.Descending());
  c = Captions();
  EXPECT_EQ(c.front(), L"system.dat");
  EXPECT_EQ(c.back(), L"sub");
}

TEST_F(FileListViewTest, SortingKeepsTheSelectedRowsSelected) {
  MakeKnownFolder();
  view_.SetDirectory(dir_.path());
  SelectOnly({Row(L"k1.bin"), Row(L"sub")});
  ClickHeader(1);
  EXPECT_TRUE(view_.IsSelected(Row(L"k1.bin")));
  EXPECT_TRUE(view_.IsSelected(Row(L"sub")));
  EXPECT_EQ(view_.SelectedNumber(), 2);
}

TEST_F(FileListViewTest, ANewListingKeepsNoSelectionNorFocusOfTheLast) {
  MakeKnownFolder();
  view_.SetDirectory(dir_.path());
  SelectOnly({Row(L"k1.bin"), Row(L"sub")});
  ListView_SetItemState(view_.ListHwnd(), Row(L"k1.bin"), LVIS_FOCUSED, LVIS_FOCUSED);
  view_.UpdateFileList();
  EXPECT_EQ(ListView_GetSelectedCount(view_.ListHwnd()), 0u);
  EXPECT_EQ(ListView_GetNextItem(view_.ListHwnd(), -1, LVNI_FOCUSED), 0);
  EXPECT_EQ(ListView_GetNextItem(view_.ListHwnd(), 0, LVNI_FOCUSED), -1);
}

TEST_F(FileListViewTest, FileTypeAdmitsEntriesByTheirAttributes) {
  MakeKnownFolder();
  dir_.Folder(L"hiddenfolder", FILE_ATTRIBUTE_HIDDEN);
  view_.SetParentDirEnabled(false);
  view_.SetDirectory(dir_.path());
  EXPECT_NE(Row(L"hiddenfolder"), -1);

  view_.SetFileType(FileAttrs({}));
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"sub", L"zfolder", L"archive.txt", L"big.bin", L"empty.txt",
                                                   L"k.bin", L"k1.bin", L"one.bin"}));
  view_.SetFileType(FileAttrs({ftHidden}));
  EXPECT_NE(Row(L"hidden.txt"), -1);
  EXPECT_NE(Row(L"hiddenfolder"), -1);
  EXPECT_NE(Row(L"k.bin"), -1);
  EXPECT_EQ(Row(L"readonly.txt"), -1);
  EXPECT_EQ(Row(L"system.dat"), -1);
}

TEST_F(FileListViewTest, MaskPatternsAreUsedAsWritten) {
  dir_.File(L"a.txt");
  dir_.File(L" b.doc");
  dir_.File(L"c.doc");
  dir_.Folder(L"sub");
  view_.SetParentDirEnabled(false);
  view_.SetDirectory(dir_.path());
  EXPECT_EQ(view_.ItemCount(), 4);

  view_.SetMask(L"   ");  // blanks only: everything
  EXPECT_EQ(view_.ItemCount(), 4);
  view_.SetMask(L"*.txt; *.doc");  // the blank starts the second pattern
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"sub", L" b.doc", L"a.txt"}));
  view_.SetMask(L"*.txt;a*");  // in both patterns: listed twice
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"sub", L"a.txt", L"a.txt"}));
  view_.SetMask(L"*.*;*.*");
  EXPECT_EQ(view_.ItemCount(), 7);

  view_.SetShowFolders(false);
  EXPECT_EQ(Row(L"sub"), -1);
  view_.SetParentDirEnabled(true);
  view_.UpdateFileList();
  EXPECT_EQ(Row(L" Parent"), -1);  // no folders, no parent row either
}

TEST_F(FileListViewTest, HiddenExtensionsAndFileSizeApplyAtTheNextListing) {
  dir_.File(L"Word.lnk", 2000);
  dir_.File(L"README", 1);
  dir_.Folder(L"my.folder");
  view_.SetParentDirEnabled(false);
  view_.SetDirectory(dir_.path());
  view_.SetHideFileExt(true);
  view_.SetFileSize(fsByte);
  EXPECT_NE(Row(L"Word.lnk"), -1);
  view_.UpdateFileList();
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"my", L"README", L"Word"}));
  EXPECT_EQ(view_.SubItem(Row(L"Word"), 0), L"2000");
  EXPECT_EQ(view_.SubItem(Row(L"Word"), 4), dir_ / L"Word.lnk");
  EXPECT_EQ(view_.SubItem(Row(L"my"), 0), L" ");
}

TEST_F(FileListViewTest, DirectoryTextRules) {
  dir_.File(L"first.txt");
  view_.SetDirectory(dir_.path());
  ASSERT_NE(Row(L"first.txt"), -1);

  // Same path, other letter case, with the backslash: no new listing.
  dir_.File(L"second.txt");
  std::wstring upper = dir_.path();
  ::CharUpperW(upper.data());
  view_.SetDirectory(upper);
  EXPECT_EQ(view_.Directory(), dir_.path());
  EXPECT_EQ(Row(L"second.txt"), -1);
  // Without the backslash: always a new listing.
  view_.SetDirectory(DelSlash(dir_.path()));
  EXPECT_EQ(view_.Directory(), dir_.path());
  EXPECT_NE(Row(L"second.txt"), -1);
  wchar_t current[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_EQ(AddSlash(current), dir_.path());

  // A folder that does not exist is ignored.
  view_.SetDirectory(dir_ / L"missing");
  EXPECT_EQ(view_.Directory(), dir_.path());
  EXPECT_NE(Row(L"first.txt"), -1);
  view_.SetDirectory(L"");
  EXPECT_EQ(view_.Directory(), dir_.path());

  // "drives" in any case is kept as written and lists the drives.
  view_.SetDirectory(L"drives");
  EXPECT_EQ(view_.Directory(), L"drives");
  EXPECT_TRUE(view_.DriveMode());
  EXPECT_EQ(view_.SubItem(0, 5), L"drv");
}

TEST_F(FileListViewTest, DriveListCaptionsTypesAndSizes) {
  test::FakePlatform platform;
  platform.driveTypes[L"C:\\"] = DRIVE_REMOVABLE;
  view_.SetLanguage(lnFrench);
  view_.SetDirectory(L"Drives");  // the text it already holds: nothing listed yet
  EXPECT_EQ(view_.ItemCount(), 0);
  view_.UpdateFileList();
  ASSERT_GT(view_.ItemCount(), 0);
  EXPECT_EQ(HeaderText(2), L"Taille Disque");
  EXPECT_EQ(HeaderText(3), L"Espace libre");

  int c = -1;
  for (int i = 0; i < view_.ItemCount(); ++i)
    if (view_.SubItem(i, 4) == L"C:\\") c = i;
  ASSERT_NE(c, -1);
  SHFILEINFOW sfi{};
  ASSERT_TRUE(::SHGetFileInfoW(L"C:\\", 0, &sfi, sizeof(sfi), SHGFI_DISPLAYNAME));
  EXPECT_EQ(view_.Caption(c), DriveCaption(L'C', sfi.szDisplayName));
  EXPECT_EQ(view_.Caption(c).substr(0, 7), L" (C:)  ");
  EXPECT_EQ(view_.SubItem(c, 0), L"Disque amovible");
  // Removable drives are not asked for their sizes.
  EXPECT_EQ(view_.SubItem(c, 1), L"0 Mb");
  EXPECT_EQ(view_.SubItem(c, 2), L"0 Mb");
  EXPECT_EQ(view_.SubItem(c, 3), L"");
  EXPECT_EQ(view_.SubItem(c, 5), L"drv");

  platform.driveTypes[L"C:\\"] = DRIVE_FIXED;
  view_.UpdateFileList();
  EXPECT_EQ(view_.SubItem(c, 0), L"Disque Fixe");
  EXPECT_NE(view_.SubItem(c, 1), L"0 Mb");
  EXPECT_EQ(view_.SubItem(c, 1).substr(view_.SubItem(c, 1).size() - 3), L" Mb");

  // Drives stay in letter order whatever heading is clicked.
  std::vector<std::wstring> before = Captions();
  ClickHeader(0);
  ClickHeader(2);
  EXPECT_EQ(Captions(), before);
  EXPECT_EQ(view_.SortColumn(), 0);
  for (std::size_t i = 1; i < before.size(); ++i) EXPECT_LT(before[i - 1][2], before[i][2]);
  EXPECT_EQ(view_.DriveFreeSpace(), 0);

  // Back to a folder: folder-mode columns again.
  view_.SetDirectory(dir_.path());
  EXPECT_EQ(HeaderText(1), L"Taille");
}

TEST_F(FileListViewTest, ParentRowOutsideRootsAndItsCaption) {
  view_.SetDirectory(L"C:\\");
  EXPECT_EQ(Row(L" Parent"), -1);
  view_.SetDirectory(dir_.path());
  EXPECT_EQ(Row(L" Parent"), 0);

  view_.SetParentDirCaption(L"  ..  ");
  EXPECT_EQ(view_.ParentDirCaption(), L" ..");
  view_.SetParentDirCaption(L"..");
  EXPECT_EQ(view_.ParentDirCaption(), L" ..");
  view_.UpdateFileList();
  EXPECT_EQ(Row(L" .."), 0);

  // A second view finds the picture already in the shared lists.
  RegistryKey key;
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, L"Software\\Tavrel\\FileBrowser"), ERROR_SUCCESS);
  const DWORD first = key.ReadDword(L"ParentImgIdx").value_or(0xFFFF);
  TFileListView other;
  ASSERT_TRUE(other.Create(host_, 101, RECT{0, 0, 100, 100}));
  EXPECT_EQ(key.ReadDword(L"ParentImgIdx").value_or(0), first);
  // A cached index that shows another picture is replaced.
  key.WriteDword(L"ParentImgIdx", 0);
  TFileListView third;
  ASSERT_TRUE(third.Create(host_, 102, RECT{0, 0, 100, 100}));
  EXPECT_NE(key.ReadDword(L"ParentImgIdx").value_or(0), 0u);
}

TEST_F(FileListViewTest, TypeNamesAndIconsAreTheShellsForEachFile) {
  RegistryKey lnk;
  ASSERT_EQ(lnk.Open(HKEY_CLASSES_ROOT, L"lnkfile", true), ERROR_SUCCESS);
  lnk.WriteString(L"", L"Raccourci");
  wchar_t system[MAX_PATH];
  ::GetSystemDirectoryW(system, MAX_PATH);
  ASSERT_TRUE(::CopyFileW((std::wstring(system) + L"\\notepad.exe").c_str(), (dir_ / L"notepad.exe").c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW((std::wstring(system) + L"\\cmd.exe").c_str(), (dir_ / L"cmd.exe").c_str(), FALSE));
  for (const wchar_t* name : {L"a.txt", L"b.TXT", L"c.bmp", L"d.lnk", L"noext", L"e.xyz123"}) dir_.File(name, 5);
  dir_.Folder(L"plain");
  dir_.Folder(L"special", FILE_ATTRIBUTE_READONLY);
  view_.SetParentDirEnabled(false);
  view_.SetDirectory(dir_.path());
  ASSERT_EQ(view_.ItemCount(), 10);
  EXPECT_EQ(view_.SubItem(Row(L"d.lnk"), 1), L"Raccourci");
  for (int i = 0; i < view_.ItemCount(); ++i) {
    SCOPED_TRACE(view_.Caption(i));
    SHFILEINFOW sfi{};
    ASSERT_TRUE(::SHGetFileInfoW(view_.SubItem(i, 4).c_str(), 0, &sfi, sizeof(sfi), SHGFI_TYPENAME | SHGFI_SYSICONINDEX));
    EXPECT_EQ(view_.SubItem(i, 1), sfi.szTypeName);
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    ASSERT_TRUE(ListView_GetItem(view_.ListHwnd(), &item));
    EXPECT_EQ(item.iImage, sfi.iIcon);
  }
}

TEST_F(FileListViewTest, SelectedNumberAndSizeUseTheRowsOwnPaths) {
  MakeKnownFolder();
  view_.SetDirectory(dir_.path());
  EXPECT_EQ(view_.SelectedNumber(), view_.ItemCount());
  EXPECT_EQ(view_.SelectedSize(), 0);
  SelectOnly({Row(L"k.bin"), Row(L"k1.bin"), Row(L"sub")});
  // Another folder is current: the sizes are still those of the listed files.
  ::SetCurrentDirectoryW(L"C:\\");
  EXPECT_EQ(view_.SelectedNumber(), 3);
  EXPECT_EQ(view_.SelectedSize(), 2049);
  EXPECT_GT(view_.DriveFreeSpace(), 0);
}

TEST_F(FileListViewTest, IconViewAndTypingTheStartOfAName) {
  MakeKnownFolder();
  view_.SetViewStyle(vsIcon);
  view_.SetDirectory(dir_.path());
  EXPECT_EQ(::GetWindowLongPtrW(view_.ListHwnd(), GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);
  ASSERT_EQ(view_.ItemCount(), 12);
  EXPECT_EQ(CellText(Row(L"k1.bin"), 0), L"k1.bin");
  ::SetFocus(view_.ListHwnd());
  ::SendMessageW(view_.ListHwnd(), WM_CHAR, L'k', 1);
  EXPECT_EQ(ListView_GetNextItem(view_.ListHwnd(), -1, LVNI_FOCUSED), Row(L"k.bin"));
}

TEST_F(FileListViewTest, LanguageRebuildsHeadingsAndLoadsTheMessages) {
  view_.SetLanguage(lnFrench);
  EXPECT_EQ(HeaderText(0), L"Nom");
  EXPECT_EQ(HeaderText(4), L"Attributs");
  EXPECT_EQ(Text(Msg::ReadOnly), L"Lecteur en Lecture Seule");
  TFileListView german;
  german.SetLanguage(lnGerman);
  EXPECT_EQ(Text(Msg::ReadOnly), L"Die Datei ist schreibgeschützt!");
  // Setting the current language again changes nothing.
  view_.SetLanguage(lnFrench);
  EXPECT_EQ(Text(Msg::ReadOnly), L"Die Datei ist schreibgeschützt!");
  view_.SetLanguage(lnSysDefault);
  EXPECT_EQ(view_.Language(), LanguageFromLangId(::GetSystemDefaultLangID()));
  // A language change attaches the view's own menu again.
  view_.SetPopUpMenuEnabled(false);
  view_.SetLanguage(lnSpanish);
  EXPECT_TRUE(view_.PopUpMenuEnabled());
}

}  // namespace
}  // namespace ferlane
