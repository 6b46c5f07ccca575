// The main window from the keyboard: F6, F5, Tab and Ctrl+Tab, the context
// menu keys, and the names assistive technology reads (through oleacc).
#include "app/MainWindow.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include "platform/Termination.h"
#include "resource.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

// A key as the main loop receives it: to the focused control.
bool PressKey(Tficheprincipale& main, UINT key, bool ctrl = false, bool shift = false) {
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  state[VK_CONTROL] = ctrl ? 0x80 : 0;
  state[VK_SHIFT] = shift ? 0x80 : 0;
  state[VK_MENU] = 0;
  ::SetKeyboardState(state);
  MSG msg{};
  msg.hwnd = ::GetFocus() ? ::GetFocus() : main.hwnd();
  msg.message = WM_KEYDOWN;
  msg.wParam = key;
  const bool taken = main.PreTranslateMessage(msg);
  state[VK_CONTROL] = state[VK_SHIFT] = 0;
  ::SetKeyboardState(state);
  return taken;
}

void ShowTab(Tficheprincipale& main, int index) {
  TabCtrl_SetCurSel(main.PageControl1(), index);
  NMHDR hdr{main.PageControl1(), static_cast<UINT_PTR>(::GetDlgCtrlID(main.PageControl1())), TCN_SELCHANGE};
  ::SendMessageW(main.hwnd(), WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

int RowOf(TFileListView& view, const std::wstring& path) {
  for (int row = 0; row < view.ItemCount(); ++row)
    if (::lstrcmpiW(view.SubItem(row, 4).c_str(), path.c_str()) == 0) return row;
  return -1;
}

// oleacc, loaded as a screen reader's process would have it: the program
// itself needs nothing of it.
std::wstring AccessibleName(HWND h) {
  static const GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
  using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
  static const auto fromWindow = reinterpret_cast<FromWindow>(
      ::GetProcAddress(::LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow"));
  if (!fromWindow) return L"<no oleacc>";
  IAccessible* object = nullptr;
  if (FAILED(fromWindow(h, static_cast<DWORD>(OBJID_CLIENT), kIAccessible, reinterpret_cast<void**>(&object))) ||
      !object)
    return L"<no object>";
  VARIANT self;
  ::VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  const HRESULT hr = object->get_accName(self, &name);
  std::wstring text = hr == S_OK && name ? std::wstring(name, ::SysStringLen(name)) : L"<no name>";
  if (name) ::SysFreeString(name);
  object->Release();
  return text;
}

class KeyboardTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTermination();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
    platform.userName = L"dupont";
    programFolder = scratch.Folder(L"Outils") + L"\\";
    main = std::make_unique<Tficheprincipale>(programFolder);
    ASSERT_TRUE(main->Create(::GetModuleHandleW(nullptr)));
    main->FormShow();
    ::ShowWindow(main->hwnd(), SW_SHOW);
    ::SetForegroundWindow(main->hwnd());
  }
  void TearDown() override {
    main.reset();
    ::DeleteFileW(L"C:\\clavier.txt");
    ResetTermination();
  }

  test::ScratchDir scratch;
  test::FakePlatform platform;
  test::RecordingMessages messages;
  std::wstring programFolder;
  std::unique_ptr<Tficheprincipale> main;
};

TEST_F(KeyboardTest, F6InTheFileListAddsTheSelectionToTheProtectedListAndF5ReadsItsState) {
  HANDLE h = ::CreateFileW(L"C:\\clavier.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);
  main->DirTree1().OpenPath(L"C:\\");
  TFileListView& files = main->FileListView1();
  files.UpdateFileList();
  const int row = RowOf(files, L"C:\\clavier.txt");
  ASSERT_GE(row, 0);
  files.SetSelected(row, true);
  ::SetFocus(files.ListHwnd());

  EXPECT_TRUE(PressKey(*main, VK_F6));
  ASSERT_EQ(main->ListView1().ItemCount(), 1);
  EXPECT_EQ(main->ListView1().Caption(0), L"C:\\clavier.txt");
  EXPECT_EQ(main->ListView1().StateText(0), L"Visible");
  EXPECT_TRUE(messages.shown.empty());

  // Hidden behind the window's back (as /cacher does): F5 in the list tells.
  ::SetFileAttributesW(L"C:\\clavier.txt", FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(main->ListView1().StateText(0), L"Visible");
  EXPECT_FALSE(PressKey(*main, VK_F5));  // F5 elsewhere is the file list's own
  ::SetFocus(main->ListView1().hwnd());
  EXPECT_TRUE(PressKey(*main, VK_F5));
  EXPECT_EQ(main->ListView1().StateText(0), L"Caché");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KeyboardTest, F6OnACommonDesktopShortcutMovesItToThePersonalDesktopWithoutAQuestion) {
  ShellFolders& folders = main->ShellFolderViews();
  const std::wstring common = folders.FolderPath(ShellFolder::CommonDesktop);
  const std::wstring personal = folders.FolderPath(ShellFolder::PersonalDesktop);
  ASSERT_FALSE(common.empty());
  ASSERT_FALSE(personal.empty());
  const std::wstring shortcut = common + L"\\clavier.lnk";
  HANDLE h = ::CreateFileW(shortcut.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);
  ShowTab(*main, 1);
  TFileListView* view = folders.View(L"bureaucommun");
  ASSERT_NE(view, nullptr);
  view->UpdateFileList();
  const int row = RowOf(*view, shortcut);
  ASSERT_GE(row, 0);
  view->SetSelected(row, true);
  ::SetFocus(view->ListHwnd());

  EXPECT_TRUE(PressKey(*main, VK_F6));
  EXPECT_EQ(::GetFileAttributesW(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesW((personal + L"\\clavier.lnk").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(messages.shown.empty());
  ::DeleteFileW((personal + L"\\clavier.lnk").c_str());

  // The Action menu's item does the same, and stands greyed where F6 has nothing to send.
  ::SetFocus(main->PageControl1());
  EXPECT_FALSE(PressKey(*main, VK_F6));
}

TEST_F(KeyboardTest, TabReachesEveryControlOfTheVisibleTabInReadingOrderAndCtrlTabChangesTabs) {
  ::EnableWindow(main->SpeedButton(1), TRUE);
  ::SetFocus(main->SpeedButton(5));
  EXPECT_TRUE(PressKey(*main, VK_TAB));
  EXPECT_EQ(::GetFocus(), main->PageControl1());
  EXPECT_TRUE(PressKey(*main, VK_TAB));
  EXPECT_EQ(::GetFocus(), main->DirTree1().TreeHwnd());
  EXPECT_TRUE(PressKey(*main, VK_TAB));
  EXPECT_EQ(::GetFocus(), main->FileListView1().ListHwnd());
  EXPECT_TRUE(PressKey(*main, VK_TAB));
  EXPECT_EQ(::GetFocus(), main->ListView1().hwnd());
  EXPECT_TRUE(PressKey(*main, VK_TAB, false, true));  // Shift+Tab: back
  EXPECT_EQ(::GetFocus(), main->FileListView1().ListHwnd());

  // Ctrl+Tab: the next tab, the focus on its first control.
  EXPECT_TRUE(PressKey(*main, VK_TAB, true));
  EXPECT_EQ(TabCtrl_GetCurSel(main->PageControl1()), 1);
  TFileListView* first = main->ShellFolderViews().View(L"programmescommuns");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(::GetFocus(), first->ListHwnd());
  const wchar_t* order[] = {L"programmesperso", L"bureaucommun", L"bureauperso"};
  for (const wchar_t* name : order) {
    EXPECT_TRUE(PressKey(*main, VK_TAB));
    EXPECT_EQ(::GetFocus(), main->ShellFolderViews().View(name)->ListHwnd()) << name;
  }
  EXPECT_TRUE(PressKey(*main, VK_TAB, true, true));  // Ctrl+Shift+Tab: back to the first tab
  EXPECT_EQ(TabCtrl_GetCurSel(main->PageControl1()), 0);
  EXPECT_TRUE(PressKey(*main, VK_TAB, true, true));  // and round to the last
  EXPECT_EQ(TabCtrl_GetCurSel(main->PageControl1()), 3);
  EXPECT_TRUE(::IsWindowVisible(main->HiddenStore().SpeedButton4()));
}

TEST_F(KeyboardTest, ViewsAndListsCarryTheirCaptionsAsAccessibleNames) {
  EXPECT_EQ(AccessibleName(main->ListView1().hwnd()), L"Répertoires et Fichiers sélectionnés");
  EXPECT_EQ(AccessibleName(main->FileListView1().ListHwnd()), L"Fichiers du dossier");
  EXPECT_EQ(AccessibleName(main->DirTree1().TreeHwnd()), L"Dossiers");
  EXPECT_EQ(AccessibleName(main->ShellFolderViews().View(L"bureaucommun")->ListHwnd()), L"Bureau Commun");
  EXPECT_EQ(AccessibleName(main->ShellFolderViews().View(L"programmesperso")->ListHwnd()), L"Programmes Personnels");
  EXPECT_EQ(AccessibleName(main->ShellFolderViews().View(L"burperso")->ListHwnd()), L"Bureau personnel");
  EXPECT_EQ(AccessibleName(main->ShellFolderViews().View(L"progcach")->ListHwnd()), L"Programmes cachés");
  EXPECT_EQ(AccessibleName(main->SpeedButton(2)), L"Tout Cacher");
}

TEST_F(KeyboardTest, DeleteRemovesTheSelectedRowsOfTheProtectedListAndLeavesTheFiles) {
  const std::wstring files[] = {scratch.File(L"un.txt"), scratch.File(L"deux.txt"), scratch.File(L"trois.txt")};
  ProtectedList& list = main->ListView1();
  for (const std::wstring& f : files) list.AddItem(f, ItemType::File);
  ASSERT_EQ(list.ItemCount(), 3);
  list.SetSelected(0, true);
  list.SetSelected(2, true);
  // Elsewhere Delete is the other control's own.
  ::SetFocus(main->FileListView1().ListHwnd());
  EXPECT_FALSE(PressKey(*main, VK_DELETE));
  EXPECT_EQ(list.ItemCount(), 3);
  ::SetFocus(list.hwnd());
  EXPECT_FALSE(PressKey(*main, VK_DELETE, true));  // Ctrl+Delete is not it
  EXPECT_TRUE(PressKey(*main, VK_DELETE));
  ASSERT_EQ(list.ItemCount(), 1);
  EXPECT_EQ(list.Caption(0), files[1]);
  for (const std::wstring& f : files) EXPECT_NE(::GetFileAttributesW(f.c_str()), INVALID_FILE_ATTRIBUTES) << f;
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KeyboardTest, TheActionMenuShowsF6AndF5AndGreysWhatCannotBeDone) {
  HMENU action = ::GetSubMenu(::GetMenu(main->hwnd()), 0);
  wchar_t text[128] = {};
  ::GetMenuStringW(action, IDM_AJOUTER_A_LA_LISTE, text, 128, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"&Ajouter la sélection à la liste\tF6");
  ::GetMenuStringW(action, IDM_DEPLACER_EN_FACE, text, 128, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"&Déplacer la sélection en face\tF6");
  ::GetMenuStringW(action, IDM_ACTUALISER, text, 128, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Ac&tualiser\tF5");
  ::SendMessageW(main->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(action), 0);
  EXPECT_TRUE(::GetMenuState(action, IDM_DEPLACER_EN_FACE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(::GetMenuState(action, IDM_ACTUALISER, MF_BYCOMMAND) & MF_GRAYED);  // an empty list
}

}  // namespace
}  // namespace ferlane
