// The file list view's navigation: keys, clicks, in-place rename, deleting
// and dragging rows out.
#include "browse/FileListView.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "browse/DirTree.h"
#include "browse/FileListViewFixture.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The exact name a folder holds for a path, letter case included.
std::wstring StoredName(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW(path.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return {};
  ::FindClose(h);
  return fd.cFileName;
}

// Holds modifier keys down in this thread's keyboard state.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys) {
    ::GetKeyboardState(saved_);
    BYTE state[256];
    std::memcpy(state, saved_, sizeof(state));
    for (int k : keys) state[k] |= 0x80;
    ::SetKeyboardState(state);
  }
  ~HeldKeys() { ::SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

TEST_F(FileListViewTest, BackspaceGoesUpAndSelectsTheFolderItCameFrom) {
  wchar_t windows[MAX_PATH];
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring win = windows;
  view_.SetDirectory(win + L"\\system32");
  ASSERT_EQ(view_.Directory(), win + L"\\system32\\");
  std::vector<std::wstring> told;
  view_.OnItemChange = [&](TFileListView&, const std::wstring& path) { told.push_back(path); };
  Key(VK_BACK);
  EXPECT_EQ(view_.Directory(), AddSlash(win));
  const int row = view_.SelectedIndex();
  ASSERT_NE(row, -1);
  EXPECT_TRUE(SameTextIgnoreCase(view_.Caption(row), L"system32"));
  EXPECT_EQ(ListView_GetNextItem(view_.ListHwnd(), -1, LVNI_FOCUSED), row);
  EXPECT_EQ(view_.SelectedItem(), view_.SubItem(row, 4));
  EXPECT_EQ(told, std::vector<std::wstring>{view_.SubItem(row, 4)});

  // From a drive root to the drive list; from there nothing.
  view_.SetDirectory(L"C:\\");
  Key(VK_BACK);
  EXPECT_EQ(view_.Directory(), L"Drives");
  Key(VK_BACK);
  EXPECT_EQ(view_.Directory(), L"Drives");
}

TEST_F(FileListViewTest, EnterOpensFoldersParentRowAndDrives) {
  MakeKnownFolder();
  TDirTree tree;
  ASSERT_TRUE(tree.Create(host_, 200, RECT{0, 0, 200, 300}));
  view_.SetDirTree(&tree);
  EXPECT_EQ(tree.FileList(), &view_);
  view_.SetDirectory(dir_.path());

  SelectOnly({Row(L"sub")});
  Key(VK_RETURN);
  EXPECT_EQ(view_.Directory(), dir_ / L"sub\\");
  EXPECT_TRUE(SameTextIgnoreCase(AddSlash(tree.SelectedPath()), dir_ / L"sub\\"));

  // The parent row goes back up.
  SelectOnly({Row(L" Parent")});
  Key(VK_RETURN);
  EXPECT_EQ(view_.Directory(), dir_.path());

  // A drive row enters the drive; nothing selected, nothing happens.
  view_.SetDirectory(L"Drives");
  SelectOnly({});
  Key(VK_RETURN);
  EXPECT_EQ(view_.Directory(), L"Drives");
  for (int i = 0; i < view_.ItemCount(); ++i)
    if (view_.SubItem(i, 4) == L"C:\\") SelectOnly({i});
  {
    HeldKeys ctrl({VK_CONTROL});
    Key('O');
  }
  EXPECT_EQ(view_.Directory(), L"C:\\");

  view_.SetDirTree(nullptr);
  EXPECT_EQ(tree.FileList(), nullptr);
}

TEST_F(FileListViewTest, RemovableDriveWithoutMediumStaysInTheDriveList) {
  test::FakePlatform platform;
  platform.driveTypes[L"C:\\"] = DRIVE_REMOVABLE;
  platform.drivesWithoutMedium = {L"C:\\"};
  view_.UpdateFileList();
  for (int i = 0; i < view_.ItemCount(); ++i)
    if (view_.SubItem(i, 4) == L"C:\\") SelectOnly({i});
  Key(VK_RETURN);
  EXPECT_EQ(view_.Directory(), L"Drives");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, Text(Msg::NoDisk));
}

TEST_F(FileListViewTest, DoubleClickOpensOrGoesUpOrTellsTheHost) {
  MakeKnownFolder();
  view_.SetDirectory(dir_.path());
  auto dblClick = [&] {
    NMITEMACTIVATE nm{};
    nm.hdr.hwndFrom = view_.ListHwnd();
    nm.hdr.idFrom = 1;
    nm.hdr.code = NM_DBLCLK;
    nm.iItem = view_.SelectedIndex();
    ::SendMessageW(view_.hwnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm));
  };
  int hostDblClicks = 0;
  view_.OnDblClick = [&](TFileListView&) { ++hostDblClicks; };
  SelectOnly({Row(L"zfolder")});
  dblClick();
  EXPECT_EQ(view_.Directory(), dir_ / L"zfolder\\");

  view_.SetDblClickToOpen(false);
  SelectOnly({Row(L" Parent")});
  dblClick();
  EXPECT_EQ(view_.Directory(), dir_.path());
  SelectOnly({Row(L"sub")});
  dblClick();
  EXPECT_EQ(view_.Directory(), dir_.path());
  EXPECT_EQ(hostDblClicks, 1);
  SelectOnly({});
  dblClick();
  EXPECT_EQ(hostDblClicks, 1);
}

TEST_F(FileListViewTest, ClicksAndArrowKeysTellTheSelectedPath) {
  MakeKnownFolder();
  ::ShowWindow(host_, SW_SHOWNORMAL);
  view_.SetDirectory(dir_.path());
  std::vector<std::wstring> told;
  int clicks = 0;
  view_.OnItemChange = [&](TFileListView&, const std::wstring& path) { told.push_back(path); };
  view_.OnClick = [&](TFileListView&) { ++clicks; };

  RECT rc{};
  const int sub = Row(L"sub");
  ASSERT_TRUE(ListView_GetItemRect(view_.ListHwnd(), sub, &rc, LVIR_LABEL));
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  ::SendMessageW(view_.ListHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(view_.ListHwnd(), WM_LBUTTONUP, 0, at);
  test::PumpMessages();
  ASSERT_EQ(told, std::vector<std::wstring>{dir_ / L"sub"});
  EXPECT_EQ(view_.SelectedItem(), dir_ / L"sub");
  EXPECT_EQ(clicks, 1);

  ::SetFocus(view_.ListHwnd());
  Key(VK_DOWN);
  test::PumpMessages();
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[1], view_.SubItem(sub + 1, 4));

  // Without a selected row nothing is told.
  SelectOnly({});
  Key(VK_F5);
  test::PumpMessages();
  NMITEMACTIVATE nm{};
  nm.hdr.hwndFrom = view_.ListHwnd();
  nm.hdr.code = NM_CLICK;
  nm.iItem = -1;
  ::SendMessageW(view_.hwnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(told.size(), 2u);
  EXPECT_EQ(clicks, 2);
}

TEST_F(FileListViewTest, CtrlASelectsEveryRow) {
  MakeKnownFolder();
  view_.SetDirectory(dir_.path());
  {
    HeldKeys ctrl({VK_CONTROL});
    Key('A');
  }
  EXPECT_EQ(static_cast<int>(ListView_GetSelectedCount(view_.ListHwnd())), view_.ItemCount());
  std::vector<WORD> keys;
  view_.OnKeyDown = [&](TFileListView&, WORD key) { keys.push_back(key); };
  Key(VK_F3);
  EXPECT_EQ(keys, std::vector<WORD>{VK_F3});
}

class RenameTest : public FileListViewTest {
 protected:
  // Types a new caption into the row's in-place editor and accepts it.
  void Rename(int row, const std::wstring& text) {
    ::SetFocus(view_.ListHwnd());
    HWND edit = ListView_EditLabel(view_.ListHwnd(), row);
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextW(edit, text.c_str());
    ::SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    test::PumpMessages();
  }
};

TEST_F(RenameTest, RenamingInAViewHidingExtensionsKeepsTheExtension) {
  dir_.File(L"Notes.txt", 3);
  dir_.File(L"Word.lnk", 3);
  view_.SetHideFileExt(true);
  view_.SetParentDirEnabled(false);
  view_.SetDirectory(dir_.path());
  Rename(Row(L"Word"), L"Traitement");
  EXPECT_TRUE(Exists(dir_ / L"Traitement.lnk"));
  EXPECT_FALSE(Exists(dir_ / L"Word.lnk"));
  EXPECT_FALSE(Exists(dir_ / L"Traitement"));
  EXPECT_NE(Row(L"Traitement"), -1);
  EXPECT_TRUE(view_.IsSelected(Row(L"Traitement")));

  // Typing the extension does not double it.
  Rename(Row(L"Notes"), L"Memo.txt");
  EXPECT_TRUE(Exists(dir_ / L"Memo.txt"));
  EXPECT_FALSE(Exists(dir_ / L"Memo.txt.txt"));
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(RenameTest, SameNameInOtherCaseAndExistingNamesChangeNothingOnDisk) {
  dir_.File(L"Notes.txt", 3);
  dir_.File(L"Other.txt", 3);
  view_.SetParentDirEnabled(false);
  view_.SetDirectory(dir_.path());
  Rename(Row(L"Notes.txt"), L"NOTES.TXT");
  EXPECT_EQ(StoredName(dir_ / L"Notes.txt"), L"Notes.txt");
  EXPECT_EQ(view_.Caption(0), L"NOTES.TXT");  // the caption shows what was typed
  EXPECT_TRUE(messages_.shown.empty());

  Rename(Row(L"Other.txt"), L"notes.txt");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_NE(messages_.shown[0].text.find(L"\"notes.txt\""), std::wstring::npos) << messages_.shown[0].text;
  EXPECT_TRUE(Exists(dir_ / L"Other.txt"));
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Notes.txt", L"Other.txt"}));

  // An empty name is refused, and escape keeps the old one.
  Rename(Row(L"Other.txt"), L"   ");
  EXPECT_TRUE(Exists(dir_ / L"Other.txt"));
  EXPECT_EQ(view_.Caption(1), L"Other.txt");
  EXPECT_FALSE(view_.Editing());
}

TEST_F(RenameTest, RenamingAFolderMovesTheLinkedTree) {
  dir_.Folder(L"old");
  TDirTree tree;
  ASSERT_TRUE(tree.Create(host_, 200, RECT{0, 0, 200, 300}));
  view_.SetDirTree(&tree);
  view_.SetParentDirEnabled(false);
  view_.SetDirectory(dir_.path());
  Rename(Row(L"old"), L"new");
  EXPECT_TRUE(Exists(dir_ / L"new"));
  EXPECT_TRUE(SameTextIgnoreCase(AddSlash(tree.SelectedPath()), dir_.path()));
}

TEST_F(RenameTest, ParentRowDrivesAndReadOnlyViewsCannotBeRenamed) {
  dir_.File(L"file.txt");
  view_.SetDirectory(dir_.path());
  ::SetFocus(view_.ListHwnd());
  EXPECT_EQ(ListView_EditLabel(view_.ListHwnd(), Row(L" Parent")), nullptr);
  view_.SetDirectory(L"Drives");
  EXPECT_EQ(ListView_EditLabel(view_.ListHwnd(), 0), nullptr);
  view_.SetDirectory(dir_.path());
  view_.SetReadOnly(true);
  EXPECT_EQ(ListView_EditLabel(view_.ListHwnd(), Row(L"file.txt")), nullptr);
  EXPECT_FALSE(view_.Editing());
}

TEST_F(RenameTest, F2WarnsOnReadOnlyViewsAndStartsTheEditElsewhere) {
  // (Wine shows no file whose letters are exactly "R": it adds the archive bit.)
  dir_.File(L"open.txt", 1, FILE_ATTRIBUTE_ARCHIVE);
  dir_.File(L"archived-locked.txt", 1, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  view_.SetLanguage(lnFrench);
  view_.SetDirectory(dir_.path());
  ::SetFocus(view_.ListHwnd());

  // "AR" is not exactly "R": the edit starts.
  SelectOnly({Row(L"archived-locked.txt")});
  Key(VK_F2);
  EXPECT_TRUE(view_.Editing());
  HWND edit = ListView_GetEditControl(view_.ListHwnd());
  ASSERT_NE(edit, nullptr);
  ::SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(view_.Editing());
  EXPECT_TRUE(messages_.shown.empty());

  view_.SetReadOnly(true);
  SelectOnly({Row(L"open.txt")});
  Key(VK_F2);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, L"Lecteur en Lecture Seule");
  EXPECT_EQ(messages_.shown[0].flags & MB_ICONWARNING, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_EQ(ListView_GetEditControl(view_.ListHwnd()), nullptr);
  // Nothing selected: no warning.
  SelectOnly({});
  Key(VK_F2);
  EXPECT_EQ(messages_.shown.size(), 1u);
}

TEST_F(FileListViewTest, ShiftDeleteStopsAtAFolderAndAsksForEachFile) {
  MakeKnownFolder();
  view_.SetDirectory(dir_.path());
  SelectOnly({Row(L"sub"), Row(L"k.bin")});
  {
    HeldKeys shift({VK_SHIFT});
    Key(VK_DELETE);
  }
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_TRUE(Exists(dir_ / L"k.bin"));
  EXPECT_TRUE(Exists(dir_ / L"sub"));

  SelectOnly({Row(L"k.bin"), Row(L"k1.bin"), Row(L"one.bin")});
  messages_.answers = {IDYES, IDNO, IDYES};
  {
    HeldKeys shift({VK_SHIFT});
    Key(VK_DELETE);
  }
  ASSERT_EQ(messages_.shown.size(), 3u);
  EXPECT_EQ(messages_.shown[0].text, L"Are you sure you want to permanently delete file\r  \"k.bin\"?");
  EXPECT_EQ(messages_.shown[0].flags & 0xF, static_cast<UINT>(MB_YESNO));
  EXPECT_FALSE(Exists(dir_ / L"k.bin"));
  EXPECT_TRUE(Exists(dir_ / L"k1.bin"));
  EXPECT_FALSE(Exists(dir_ / L"one.bin"));
  EXPECT_EQ(Row(L"k.bin"), -1);  // listed afresh
  EXPECT_NE(Row(L"k1.bin"), -1);
  EXPECT_EQ(view_.SelectedIndex(), -1);

  // A file that cannot be deleted is reported.
  messages_.shown.clear();
  SelectOnly({Row(L"readonly.txt")});
  {
    HeldKeys shift({VK_SHIFT});
    Key(VK_DELETE);
  }
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[1].flags & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(Exists(dir_ / L"readonly.txt"));
}

// ---- Dragging rows out ------------------------------------------------------

class RecordingTarget : public IFileDragTarget {
 public:
  HWND accepts = nullptr;
  int overs = 0, drops = 0;
  TFileListView* source = nullptr;
  bool DragOver(TFileListView& src, HWND target, POINT) override {
    ++overs;
    source = &src;
    return target == accepts;
  }
  void DragDrop(TFileListView&, HWND target, POINT) override {
    if (target == accepts) ++drops;
  }
};

TEST_F(FileListViewTest, DraggedRowsAreDroppedOnAWindowThatAccepts) {
  MakeKnownFolder();
  ::SetWindowPos(host_, HWND_TOPMOST, 0, 0, 700, 500, SWP_SHOWWINDOW);
  ::MoveWindow(view_.hwnd(), 0, 0, 340, 460, TRUE);
  HWND drop = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 400, 50, 200, 200, host_, nullptr,
                                nullptr, nullptr);
  test::PumpMessages();
  RecordingTarget target;
  target.accepts = drop;
  view_.SetDragTarget(&target);
  view_.SetDirectory(dir_.path());
  SelectOnly({Row(L"k.bin")});

  auto beginDrag = [&] {
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = view_.ListHwnd();
    nm.hdr.code = LVN_BEGINDRAG;
    nm.iItem = Row(L"k.bin");
    ::SendMessageW(view_.hwnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm));
  };
  // The drop window's centre in the view's client coordinates.
  POINT pt{500, 150};
  ::MapWindowPoints(host_, view_.hwnd(), &pt, 1);
  const LPARAM over = MAKELPARAM(pt.x, pt.y);

  beginDrag();
  EXPECT_EQ(::GetCapture(), view_.hwnd());
  ::SendMessageW(view_.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, over);
  EXPECT_GE(target.overs, 1);
  EXPECT_EQ(target.source, &view_);
  ::SendMessageW(view_.hwnd(), WM_LBUTTONUP, 0, over);
  EXPECT_EQ(target.drops, 1);
  EXPECT_NE(::GetCapture(), view_.hwnd());

  // Escape cancels: the button released later drops nothing.
  beginDrag();
  Key(VK_ESCAPE);
  ::SendMessageW(view_.hwnd(), WM_LBUTTONUP, 0, over);
  EXPECT_EQ(target.drops, 1);
  // A drop elsewhere is refused.
  beginDrag();
  ::SendMessageW(view_.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(target.drops, 1);
}

}  // namespace
}  // namespace ferlane
