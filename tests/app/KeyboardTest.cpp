// The main window from the keyboard: F6, F5, Tab and Ctrl+Tab, the context
// menu keys, and the names assistive technology reads (through oleacc).
#include "app/MainWindow.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include "app/PasswordWindows.h"
#include "app/logic/AccessKeys.h"
#include "platform/Registry.h"
#include "platform/Termination.h"
#include "settings/logic/ExplorerSettings.h"
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

// Alt+letter as the main loop receives it: a WM_SYSCHAR to the focused
// control, with the context bit that says Alt is down.
bool PressAlt(Tficheprincipale& main, wchar_t letter) {
  MSG msg{};
  msg.hwnd = ::GetFocus() ? ::GetFocus() : main.hwnd();
  msg.message = WM_SYSCHAR;
  msg.wParam = letter;
  msg.lParam = 1 | (1 << 29);
  return main.PreTranslateMessage(msg);
}

void ShowTab(Tficheprincipale& main, int index) {
  TabCtrl_SetCurSel(main.PageControl1(), index);
  NMHDR hdr{main.PageControl1(), static_cast<UINT_PTR>(::GetDlgCtrlID(main.PageControl1())), TCN_SELCHANGE};
  ::SendMessageW(main.hwnd(), WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

bool Within(HWND outer, HWND h) { return h && (h == outer || ::IsChild(outer, h)); }

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
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kNewStartPanelKey);
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
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kNewStartPanelKey);
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

// Every letter that more than one menu of the bar or visible control
// carries, on each tab: the menus' captions first, then the controls' and
// tabs' in tab order. The note on these keys lists the same table.
struct Collision {
  int tab;
  wchar_t key;
  std::vector<std::wstring> captions;
};
const std::vector<Collision>& ExpectedCollisions() {
  static const std::vector<Collision> table = {
      {0, L'A', {L"&Action", L"&Aide", L"   &Afficher ou Cacher"}},
      {1, L'A', {L"&Action", L"&Aide", L"   &Afficher ou Cacher"}},
      {1, L'B', {L"   &Bureau et programmes cach\u00E9s", L"&Bureau Commun", L"&Bureau Personnel"}},
      {1, L'P', {L"A &Propos", L"&Programmes Communs", L"&Programmes Personnels"}},
      {2, L'A', {L"&Action", L"&Aide", L"   &Afficher ou Cacher", L"&Appliquer", L"&Afficher les Dossiers cach\u00E9s",
                 L"&Appliquer", L"&Activer Ferlane", L"&Au d\u00E9marrage de Windows", L"&Appliquer"}},
      {2, L'B', {L"   &Bureau et programmes cach\u00E9s", L"&Barre de t\u00E2ches", L"&Bureau personnel"}},
      {2, L'P', {L"A &Propos", L"&Programmes personnels"}},
      {3, L'A', {L"&Action", L"&Aide", L"   &Afficher ou Cacher"}},
      {3, L'B', {L"   &Bureau et programmes cach\u00E9s", L"&Bureau cach\u00E9"}},
      {3, L'P', {L"A &Propos", L"&Programmes cach\u00E9s"}},
  };
  return table;
}

TEST_F(KeyboardTest, TheCollisionsOfEveryTabAreTheTableOfTheNote) {
  std::vector<Collision> seen;
  for (int tab = 0; tab < 4; ++tab) {
    ShowTab(*main, tab);
    std::vector<std::wstring> controls;
    for (const auto& target : main->AccessKeyTargets()) controls.push_back(target.caption);
    for (auto& c : FindAccessKeyCollisions(main->MenuBarCaptions(), controls))
      seen.push_back({tab, c.key, std::move(c.captions)});
  }
  std::wstring listing;
  for (const Collision& c : seen) {
    listing += L"{" + std::to_wstring(c.tab) + L", L'" + std::wstring(1, c.key) + L"', {";
    for (const auto& caption : c.captions) listing += L"L\"" + caption + L"\", ";
    listing += L"}},\n";
  }
  const auto& expected = ExpectedCollisions();
  ASSERT_EQ(seen.size(), expected.size()) << testing::PrintToString(listing);
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].tab, expected[i].tab) << i;
    EXPECT_EQ(seen[i].key, expected[i].key) << i;
    EXPECT_EQ(seen[i].captions, expected[i].captions) << testing::PrintToString(listing);
  }
}

// Alt+letter: the menu bar's first (nothing on the page applies), a letter
// several visible controls share moves the focus in turn and presses none,
// a letter of one control acts as before.
TEST_F(KeyboardTest, AltLettersOpenTheMenuFirstAndASharedLetterOnlyMovesTheFocus) {
  {
    RegistryKey panel;  // as on Windows, where the key exists
    ASSERT_EQ(panel.Open(HKEY_CURRENT_USER, kNewStartPanelKey, true), ERROR_SUCCESS);
  }
  ShowTab(*main, 2);
  ExplorerSettingsPage& page = main->ExplorerSettings();
  page.SetChecked(ExplorerSettingsPage::kCorbeille, true);
  ::SetFocus(page.Control(ExplorerSettingsPage::kCorbeille));
  EXPECT_FALSE(PressAlt(*main, L'a'));  // left to the menu bar's "&Action", though "&Appliquer" has it
  RegistryKey panel;
  ASSERT_EQ(panel.Open(HKEY_CURRENT_USER, kNewStartPanelKey), ERROR_SUCCESS);
  EXPECT_FALSE(panel.ReadDword(kDesktopIcons[3].valueName).has_value());
  EXPECT_EQ(::GetFocus(), page.Control(ExplorerSettingsPage::kCorbeille));
  // "B": the group "&Barre de tâches", then "&Bureau personnel", then the tab
  // "&Bureau et programmes cachés"; none is pressed.
  EXPECT_TRUE(PressAlt(*main, L'b'));
  EXPECT_EQ(::GetFocus(), page.Control(ExplorerSettingsPage::kBarreCacher));
  EXPECT_FALSE(page.IsChecked(ExplorerSettingsPage::kBarreCacher));
  EXPECT_TRUE(PressAlt(*main, L'b'));
  TFileListView* burperso = main->ShellFolderViews().View(L"burperso");
  ASSERT_NE(burperso, nullptr);
  EXPECT_TRUE(Within(burperso->hwnd(), ::GetFocus()));
  EXPECT_TRUE(PressAlt(*main, L'b'));
  EXPECT_EQ(::GetFocus(), main->PageControl1());
  EXPECT_EQ(TabCtrl_GetCurSel(main->PageControl1()), 3);
  EXPECT_FALSE(page.IsChecked(ExplorerSettingsPage::kBarreCacher));
  // A letter of one control acts as before: "&Gestion des dossiers cachés"
  // leads to the box it frames, whose tick it leaves as it was (an earlier
  // test may have left hidden files shown).
  ShowTab(*main, 2);
  const bool masqueBefore = page.IsChecked(ExplorerSettingsPage::kMasque);
  EXPECT_TRUE(PressAlt(*main, L'g'));
  EXPECT_EQ(::GetFocus(), page.Control(ExplorerSettingsPage::kMasque));
  EXPECT_EQ(page.IsChecked(ExplorerSettingsPage::kMasque), masqueBefore);
  // A letter nobody has is the system's (Alt+Space opens the window's menu).
  EXPECT_FALSE(PressAlt(*main, L' '));
  EXPECT_FALSE(PressAlt(*main, L'z'));
  // Locked by the administrator, the settings are greyed: the keys of the
  // boxes that frame only them do nothing, and the focus stays on this tab.
  page.SetLocked(true);
  ::SetFocus(main->PageControl1());
  for (const wchar_t key : {L'i', L'g'}) {
    EXPECT_FALSE(PressAlt(*main, key)) << static_cast<char>(key);
    EXPECT_EQ(::GetFocus(), main->PageControl1()) << static_cast<char>(key);
  }
  page.SetLocked(false);
  EXPECT_TRUE(messages.shown.empty());
}

// Keys as a person presses them: hardware input (SendInput), taken by
// GetMessage in the program's own loop and offered to PreTranslateMessage
// first, as the application's loop does; never a message posted to a
// control. The change-password window opened from the menu with the
// keyboard (F10, Down, the item's letter) closes with Escape, password kept.
void SendKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (const WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    INPUT up = down;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(down);
    inputs.push_back(up);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

struct RealKeys {
  HWND window = nullptr;  // the change-password window
  bool opened = false, escapeSent = false, timedOut = false;
  DWORD started = 0;
} realKeys;

void CALLBACK WatchRealKeys(HWND, UINT, UINT_PTR, DWORD) {
  RealKeys& k = realKeys;
  if (!k.escapeSent && ::IsWindowVisible(k.window)) {
    k.opened = k.escapeSent = true;
    SendKeys({VK_ESCAPE});
  }
  // A window Escape did not close is closed as its close box does, so the
  // test ends and says so.
  if (::GetTickCount() - k.started > 10000 && !k.timedOut) {
    k.timedOut = true;
    ::PostMessageW(k.window, WM_CLOSE, 0, 0);
  }
}

TEST_F(KeyboardTest, EscapeClosesTheChangePasswordWindowOpenedFromTheMenuWithRealKeys) {
  Tnouveaupasse nouveau;
  ASSERT_TRUE(nouveau.Create(::GetModuleHandleW(nullptr)));
  main->SetPasswordWindows({nullptr, nullptr, &nouveau});
  const std::wstring before = main->CurrentPassword();
  ShowTab(*main, 0);
  ::SetFocus(main->PageControl1());
  MSG msg;
  // An earlier main window's end left its quit message: not this loop's.
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  realKeys = {nouveau.hwnd(), false, false, false, ::GetTickCount()};
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, WatchRealKeys);
  SendKeys({VK_F10, VK_DOWN, 'P'});
  while (!(realKeys.escapeSent && !::IsWindowVisible(nouveau.hwnd())) && !realKeys.timedOut &&
         ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (main->PreTranslateMessage(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(realKeys.opened) << "F10, Down, P did not open the window";
  EXPECT_FALSE(realKeys.timedOut) << "Escape did not close the window";
  EXPECT_FALSE(::IsWindowVisible(nouveau.hwnd()));
  EXPECT_EQ(main->CurrentPassword(), before);
  EXPECT_EQ(nouveau.WrongAttempts(), 0);
  EXPECT_FALSE(TerminationRequested());
  main->SetPasswordWindows({});
}

}  // namespace
}  // namespace ferlane
