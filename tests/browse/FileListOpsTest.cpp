// The file list's own operations and context menu, on real files.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "browse/FileListView.h"
#include "browse/ShellLinks.h"
#include "browse/ShellOps.h"
#include "browse/WindowAnswerer.h"
#include "browse/browse_resources.h"
#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "platform/Registry.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring ClipboardText() {
  std::wstring text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE h = ::GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(::GlobalLock(h))) text = p;
    ::GlobalUnlock(h);
  }
  ::CloseClipboard();
  return text;
}

class FileListOpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 700,
                              500, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(view_.Create(host_, 100, RECT{0, 0, 680, 460}));
    view_.SetLanguage(lnFrench);
  }
  void TearDown() override {
    ::SetCurrentDirectoryW(L"C:\\");
    ::DestroyWindow(host_);
    LoadListTexts(lnEnglish);
  }
  int Row(const std::wstring& caption) const {
    for (int i = 0; i < view_.ItemCount(); ++i)
      if (view_.Caption(i) == caption) return i;
    return -1;
  }
  void SelectOnly(std::initializer_list<const wchar_t*> captions) {
    for (int i = 0; i < view_.ItemCount(); ++i) view_.SetSelected(i, false);
    for (const wchar_t* c : captions) view_.SetSelected(Row(c), true);
  }
  void CtrlKey(WORD key) {
    BYTE saved[256], state[256];
    ::GetKeyboardState(saved);
    ::memcpy(state, saved, sizeof state);
    state[VK_CONTROL] |= 0x80;
    ::SetKeyboardState(state);
    ::SendMessageW(view_.ListHwnd(), WM_KEYDOWN, key, 0);
    ::SetKeyboardState(saved);
  }

  test::RecordingMessages messages_;
  test::ScratchDir dir_;
  HWND host_ = nullptr;
  TFileListView view_;
};

TEST_F(FileListOpsTest, CopyPastesOnceThenTellsNothingIsSelected) {
  dir_.Folder(L"from");
  dir_.Folder(L"to");
  dir_.File(L"from\\a.txt", 4);
  view_.SetDirectory(dir_ / L"from");
  SelectOnly({L"a.txt"});
  CtrlKey('C');
  view_.SetDirectory(dir_ / L"to");
  CtrlKey('V');
  EXPECT_TRUE(Exists(dir_ / L"to\\a.txt"));
  EXPECT_TRUE(Exists(dir_ / L"from\\a.txt"));
  EXPECT_NE(Row(L"a.txt"), -1);  // re-listed
  EXPECT_TRUE(messages_.shown.empty());
  CtrlKey('V');
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, L"Pas de fichier sélectionné");
}

TEST_F(FileListOpsTest, DeleteEmptiesACutSoALaterPasteWarns) {
  dir_.File(L"one.txt", 1);
  dir_.File(L"two.txt", 1);
  dir_.File(L"three.txt", 1);
  view_.SetDirectory(dir_.path());
  SelectOnly({L"one.txt", L"two.txt"});
  CtrlKey('X');
  EXPECT_TRUE(view_.ClipboardFilled());
  SelectOnly({L"three.txt"});
  {
    test::WindowAnswerer yes(test::WindowAnswerer::kDialogClass,
                             [](HWND d) { ::PostMessageW(d, WM_COMMAND, IDYES, 0); });
    ::SendMessageW(view_.ListHwnd(), WM_KEYDOWN, VK_DELETE, 0);
  }
  EXPECT_FALSE(Exists(dir_ / L"three.txt"));
  EXPECT_EQ(Row(L"three.txt"), -1);
  EXPECT_FALSE(view_.ClipboardFilled());
  CtrlKey('V');
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, L"Pas de fichier sélectionné");
  EXPECT_TRUE(Exists(dir_ / L"one.txt"));
}

TEST_F(FileListOpsTest, NewFolderTakesTheFirstFreeNumberAndStartsItsRename) {
  dir_.Folder(L"Nouveau Dossier");
  dir_.Folder(L"Nouveau Dossier(2)");
  view_.SetDirectory(dir_.path());
  CtrlKey('N');
  EXPECT_TRUE(Exists(dir_ / L"Nouveau Dossier(3)"));
  const int row = Row(L"Nouveau Dossier(3)");
  ASSERT_NE(row, -1);
  EXPECT_TRUE(view_.IsSelected(row));
  EXPECT_TRUE(view_.Editing());
}

TEST_F(FileListOpsTest, ClipboardFileNamesAndADesktopShortcutInThePrefixsOwnDesktop) {
  const std::wstring a = dir_.File(L"a b.txt", 1);
  const std::wstring b = dir_.File(L"c.txt", 1);
  const std::wstring desktop = dir_.Folder(L"Bureau");
  RegistryKey key;
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", true),
            ERROR_SUCCESS);
  const std::wstring oldDesktop = key.ReadStringOrEmpty(L"DeskTop");
  key.WriteString(L"DeskTop", desktop);

  view_.SetDirectory(dir_.path());
  SelectOnly({L"a b.txt", L"c.txt"});
  ::SendMessageW(view_.hwnd(), WM_COMMAND, IDM_LIST_SENDTO_FIRST + 2, 0);  // "Nom du fichier dans le Presse-Papier"
  EXPECT_EQ(ClipboardText(), a + L"\r\n" + b);

  SelectOnly({L"a b.txt"});
  ::SendMessageW(view_.hwnd(), WM_COMMAND, IDM_LIST_SENDTO_FIRST + 3, 0);  // "Comme Raccourci sur le Bureau"
  const std::wstring link = desktop + L"\\a b.lnk";
  ASSERT_TRUE(Exists(link));
  EXPECT_TRUE(SameTextIgnoreCase(ResolveShortcut(link), a));
  EXPECT_TRUE(messages_.shown.empty());
  key.WriteString(L"DeskTop", oldDesktop);
}

TEST_F(FileListOpsTest, SendToAFolderShortcutCopiesAndToAProgramPassesTheQuotedName) {
  const std::wstring dest = dir_.Folder(L"dest");
  dir_.File(L"a b.txt", 5);
  const std::wstring toFolder = dir_ / L"dest.lnk";
  ASSERT_TRUE(CreateShortcut(toFolder, dest, dir_.path(), L"dest"));
  // A program that writes what it was given: its first argument, then its second.
  const std::wstring script = dir_ / L"echo.bat";
  { std::ofstream(std::string(script.begin(), script.end())) << "@echo %~1^|%~2> \"%~dp0out.txt\"\r\n"; }
  const std::wstring toProgram = dir_ / L"echo.lnk";
  ASSERT_TRUE(CreateShortcut(toProgram, script, dir_.path(), L"echo"));

  view_.SetDirectory(dir_.path());
  SelectOnly({L"a b.txt"});
  view_.SendTo(toFolder);
  EXPECT_TRUE(Exists(dest + L"\\a b.txt"));

  view_.SendTo(toProgram);
  const std::wstring out = dir_ / L"out.txt";
  // The batch file runs in its own process: wait for its whole line (a line
  // end), however loaded the machine, rather than for the file to exist.
  std::string line;
  for (int i = 0; i < 600; ++i, ::Sleep(100)) {
    std::ifstream in(std::string(out.begin(), out.end()), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (const auto end = text.find('\n'); end != std::string::npos) {
      line = text.substr(0, end);
      break;
    }
  }
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  EXPECT_EQ(line, "a b.txt|");  // one argument, not "a" and "b.txt"
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FileListOpsTest, ViewFileGivesTheViewerTheNameQuotedFromItsFolder) {
  // Read at the seam: Wine's Notepad opens "a b.txt" however the name comes.
  test::FakePlatform platform;
  platform.executed.emplace();
  dir_.File(L"a b.txt", 5);
  view_.SetDirectory(dir_.path());
  SelectOnly({L"a b.txt"});
  view_.ViewFile();
  ASSERT_EQ(platform.executed->size(), 1u);
  const auto& run = platform.executed->front();
  EXPECT_EQ(run.params, L"\"a b.txt\"");
  std::wstring program = run.file;
  ::CharLowerBuffW(program.data(), static_cast<DWORD>(program.size()));
  EXPECT_TRUE(program.ends_with(L"\\notepad.exe")) << std::string(program.begin(), program.end());
  EXPECT_EQ(run.folder, dir_.path());
  EXPECT_EQ(run.show, SW_SHOWNORMAL);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FileListOpsTest, OwnMenuEnablingAndItsSendToEntries) {
  dir_.File(L"notes.txt", 1);
  dir_.File(L"data.bin", 1);
  view_.SetDirectory(dir_.path());
  HMENU menu = view_.OwnPopupMenu();
  ASSERT_EQ(::GetMenuItemCount(menu), 15);
  auto grayed = [&](UINT id) { return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
  const UINT open = IDM_LIST_FIRST, view = IDM_LIST_FIRST + 1, paste = IDM_LIST_FIRST + 5,
             rename = IDM_LIST_FIRST + 6, newFolder = IDM_LIST_FIRST + 9;
  // Nothing selected: only New Folder.
  SelectOnly({});
  view_.OwnPopupMenu();
  EXPECT_TRUE(grayed(open));
  EXPECT_TRUE(grayed(paste));
  EXPECT_FALSE(grayed(newFolder));
  SelectOnly({L"notes.txt"});
  view_.OwnPopupMenu();
  EXPECT_FALSE(grayed(view));
  EXPECT_FALSE(grayed(rename));
  EXPECT_FALSE(grayed(IDM_LIST_SENDTO_FIRST + 1));  // contents of a .txt
  SelectOnly({L"notes.txt", L"data.bin"});
  view_.OwnPopupMenu();
  EXPECT_TRUE(grayed(rename));
  EXPECT_TRUE(grayed(IDM_LIST_SENDTO_FIRST + 1));
  wchar_t text[64] = {};
  ::GetMenuStringW(menu, 3, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Co&pier dans");
  HMENU sendTo = ::GetSubMenu(menu, 3);
  // The four special entries, then one per shortcut of the user's Send To folder.
  EXPECT_EQ(::GetMenuItemCount(sendTo), 4 + static_cast<int>(view_.SendToEntries().size()));
  view_.SetDirectory(L"Drives");
  view_.OwnPopupMenu();
  EXPECT_TRUE(grayed(newFolder));
}

TEST_F(FileListOpsTest, AnyFolderDialogCopiesIntoTheTypedFolder) {
  const std::wstring dest = dir_.Folder(L"typed");
  dir_.File(L"x.txt", 2);
  view_.SetDirectory(dir_.path());
  SelectOnly({L"x.txt"});
  std::wstring caption;
  test::WindowAnswerer answer(L"TSendToPathDialog", [&](HWND dlg) {
    wchar_t text[128] = {};
    ::GetWindowTextW(dlg, text, 128);
    caption = text;
    ::SetWindowTextW(::GetDlgItem(dlg, 100), dest.c_str());
    ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  view_.SendToSpecial(0);
  EXPECT_EQ(caption, L"Copier dans le dossier...");
  EXPECT_TRUE(Exists(dest + L"\\x.txt"));
  EXPECT_FALSE(view_.ClipboardFilled());
}

TEST_F(FileListOpsTest, WhatTheUserSeesWhereWineLacksTheVerb) {
  // Wine takes the "Find" verb of a folder as opening it: no error box. It
  // has no properties sheet: the failure is told with the system's text.
  dir_.Folder(L"p");
  view_.SetDirectory(dir_.path());
  ::SetFocus(view_.ListHwnd());
  ::SendMessageW(view_.ListHwnd(), WM_KEYDOWN, VK_F3, 0);
  EXPECT_TRUE(messages_.shown.empty());
  SelectOnly({L"p"});
  ::SendMessageW(view_.hwnd(), WM_COMMAND, IDM_LIST_FIRST + 8, 0);  // "&Propriétés"
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, L"Invalid parameter.");
}

}  // namespace
}  // namespace ferlane
