#include "settings/ExplorerSettingsPage.h"

#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "platform/Registry.h"
#include "platform/Termination.h"
#include "settings/logic/ExplorerSettings.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

using Page = ExplorerSettingsPage;
constexpr UINT kIconBoxes[] = {Page::kMesdocuments, Page::kPostedetravail, Page::kFavorisreseau, Page::kCorbeille};

std::optional<DWORD> ReadNumber(const wchar_t* key, const wchar_t* name) {
  RegistryKey k;
  if (k.Open(HKEY_CURRENT_USER, key) != ERROR_SUCCESS) return std::nullopt;
  return k.ReadDword(name);
}

std::optional<std::wstring> ReadRunValue() {
  RegistryKey k;
  if (k.Open(HKEY_LOCAL_MACHINE, kRunKey) != ERROR_SUCCESS) return std::nullopt;
  return k.ReadString(kRunValue);
}

bool KeyExists(HKEY root, const wchar_t* path) {
  RegistryKey k;
  return k.Open(root, path) == ERROR_SUCCESS;
}

class ExplorerSettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTermination();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kNewStartPanelKey);
    RegistryKey run;
    ASSERT_EQ(run.Open(HKEY_LOCAL_MACHINE, kRunKey, true), ERROR_SUCCESS);
    run.DeleteValue(kRunValue);
    RegistryKey advanced;
    ASSERT_EQ(advanced.Open(HKEY_CURRENT_USER, kAdvancedKey, true), ERROR_SUCCESS);
    advanced.DeleteValue(kHiddenValue);
    platform.userName = L"dupont";
    main = MakeMain();
  }
  void TearDown() override { main.reset(); }

  std::unique_ptr<Tficheprincipale> MakeMain(Policies policies = {}) {
    auto m = std::make_unique<Tficheprincipale>(scratch.Folder(L"Outils") + L"\\", std::move(policies));
    EXPECT_TRUE(m->Create(::GetModuleHandleW(nullptr)));
    return m;
  }
  Page& page() { return main->ExplorerSettings(); }
  // A real click as the button sends it to its parent.
  void Click(UINT id) {
    ::SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(page().Control(id)));
  }
  void CreateNewStartPanel() {
    RegistryKey k;
    ASSERT_EQ(k.Open(HKEY_CURRENT_USER, kNewStartPanelKey, true), ERROR_SUCCESS);
  }

  test::ScratchDir scratch;
  test::FakePlatform platform;
  test::RecordingMessages messages;
  std::unique_ptr<Tficheprincipale> main;
};

TEST_F(ExplorerSettingsTest, ColumnStartsUncheckedWithEveryControlCaptionedAndInsideIt) {
  EXPECT_EQ(page().BarreIndex(), -1);
  for (UINT id : {Page::kMesdocuments, Page::kMasque, Page::kAuto}) EXPECT_FALSE(page().IsChecked(id));
  wchar_t text[64];
  ::GetWindowTextW(page().Control(Page::kFavorisreseau), text, 64);
  EXPECT_STREQ(text, L"Cacher Favoris Réseau");
  ::GetWindowTextW(page().Control(Page::kBarre), text, 64);
  EXPECT_STREQ(text, L"&Barre de tâches");
  // The column is 193 pixels wide and its last box ends above the tab's bottom.
  RECT tab, last;
  ::GetWindowRect(main->PageControl1(), &tab);
  ::GetWindowRect(page().Control(Page::kGroupActiver), &last);
  EXPECT_LE(last.right - tab.left, 193 + 4);
  EXPECT_LT(last.bottom, tab.bottom);
}

TEST_F(ExplorerSettingsTest, DesktopIconsAreWrittenUnderAnExistingKeyAndReadAtTheNextStart) {
  CreateNewStartPanel();
  for (UINT id : kIconBoxes) page().SetChecked(id, true);
  Click(Page::kButton1);
  for (const auto& icon : kDesktopIcons) EXPECT_EQ(ReadNumber(kNewStartPanelKey, icon.valueName), 1u);

  page().SetChecked(Page::kPostedetravail, false);
  Click(Page::kButton1);
  EXPECT_EQ(ReadNumber(kNewStartPanelKey, kDesktopIcons[1].valueName), 0u);

  main = MakeMain();
  main->FormShow();
  EXPECT_TRUE(page().IsChecked(Page::kMesdocuments));
  EXPECT_FALSE(page().IsChecked(Page::kPostedetravail));
  EXPECT_TRUE(page().IsChecked(Page::kCorbeille));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ExplorerSettingsTest, AbsentKeyIsNeverCreatedAndOddValuesReadUnchecked) {
  page().SetChecked(Page::kMesdocuments, true);
  Click(Page::kButton1);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kNewStartPanelKey));

  CreateNewStartPanel();
  RegistryKey k;
  ASSERT_EQ(k.Open(HKEY_CURRENT_USER, kNewStartPanelKey), ERROR_SUCCESS);
  k.WriteDword(kDesktopIcons[0].valueName, 2);         // not 1
  k.WriteString(kDesktopIcons[1].valueName, L"1");     // not a number
  k.WriteDword(kDesktopIcons[2].valueName, 1);
  page().SetChecked(Page::kMesdocuments, true);
  page().SetChecked(Page::kPostedetravail, true);
  page().ReadExplorerSettings();
  EXPECT_FALSE(page().IsChecked(Page::kMesdocuments));
  EXPECT_FALSE(page().IsChecked(Page::kPostedetravail));
  EXPECT_TRUE(page().IsChecked(Page::kFavorisreseau));
}

TEST_F(ExplorerSettingsTest, AppliquerWithoutItsExplorerKeyTellsWhichSettingAndWhy) {
  ASSERT_EQ(::RegDeleteKeyW(HKEY_CURRENT_USER, kAdvancedKey), ERROR_SUCCESS);
  page().SetChecked(Page::kMesdocuments, true);
  page().SetChecked(Page::kMasque, true);
  Click(Page::kButton1);
  Click(Page::kButton2);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_NE(messages.shown[0].text.find(L"« Icones du Bureau Administrateur » n'a pas pu être appliqué"),
            std::wstring::npos);
  EXPECT_NE(messages.shown[0].text.find(std::wstring(L"HKEY_CURRENT_USER\\") + kNewStartPanelKey + L" » n'existe pas"),
            std::wstring::npos);
  EXPECT_NE(messages.shown[1].text.find(L"« Afficher les Dossiers cachés »"), std::wstring::npos);
  EXPECT_TRUE(messages.shown[1].flags & MB_ICONERROR);
  // Still never created.
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kNewStartPanelKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAdvancedKey));
}

TEST_F(ExplorerSettingsTest, HiddenFilesWriteOneOrTwoAndReadBack) {
  page().SetChecked(Page::kMasque, true);
  Click(Page::kButton2);
  EXPECT_EQ(ReadNumber(kAdvancedKey, kHiddenValue), 1u);
  page().ReadExplorerSettings();
  EXPECT_TRUE(page().IsChecked(Page::kMasque));
  page().SetChecked(Page::kMasque, false);
  Click(Page::kButton2);
  EXPECT_EQ(ReadNumber(kAdvancedKey, kHiddenValue), 2u);
  page().SetChecked(Page::kMasque, true);
  page().ReadExplorerSettings();
  EXPECT_FALSE(page().IsChecked(Page::kMasque));
}

TEST_F(ExplorerSettingsTest, AutostartHoldsTheQuotedExecutablePathAndGoesAwayWhenUnchecked) {
  wchar_t exe[MAX_PATH];
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  {
    // An earlier version's unquoted value: it checks the box, and applying
    // the setting writes it quoted.
    RegistryKey run;
    ASSERT_EQ(run.Open(HKEY_LOCAL_MACHINE, kRunKey, true), ERROR_SUCCESS);
    ASSERT_EQ(run.WriteString(kRunValue, exe), ERROR_SUCCESS);
  }
  page().ReadExplorerSettings();
  EXPECT_TRUE(page().IsChecked(Page::kAuto));
  Click(Page::kButton3);
  EXPECT_EQ(ReadRunValue(), L"\"" + std::wstring(exe) + L"\"");

  main = MakeMain();
  main->FormShow();
  EXPECT_TRUE(page().IsChecked(Page::kAuto));

  page().SetChecked(Page::kAuto, false);
  Click(Page::kButton3);
  EXPECT_EQ(ReadRunValue(), std::nullopt);
  Click(Page::kButton3);  // twice is harmless
  EXPECT_TRUE(messages.shown.empty());

  // An empty text does not check the box, and reading never unchecks it.
  RegistryKey run;
  ASSERT_EQ(run.Open(HKEY_LOCAL_MACHINE, kRunKey), ERROR_SUCCESS);
  run.WriteString(kRunValue, L"");
  page().ReadExplorerSettings();
  EXPECT_FALSE(page().IsChecked(Page::kAuto));
  run.DeleteValue(kRunValue);
  page().SetChecked(Page::kAuto, true);
  page().ReadExplorerSettings();
  EXPECT_TRUE(page().IsChecked(Page::kAuto));
}

TEST_F(ExplorerSettingsTest, RefusedWriteNamesTheValueAndStopsThatButton) {
  CreateNewStartPanel();
  platform.refusedValueWrites = {kDesktopIcons[1].valueName, kHiddenValue, kRunValue};
  for (UINT id : kIconBoxes) page().SetChecked(id, true);
  Click(Page::kButton1);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            L"Echec à la définition des données pour '{20D04FE0-3AEA-1069-A2D8-08002B30309D}'");
  EXPECT_TRUE(messages.shown[0].flags & MB_ICONERROR);
  EXPECT_EQ(ReadNumber(kNewStartPanelKey, kDesktopIcons[0].valueName), 1u);
  EXPECT_EQ(ReadNumber(kNewStartPanelKey, kDesktopIcons[2].valueName), std::nullopt);  // not reached

  Click(Page::kButton2);
  page().SetChecked(Page::kAuto, true);
  Click(Page::kButton3);
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[1].text, L"Echec à la définition des données pour 'Hidden'");
  EXPECT_EQ(messages.shown[2].text, L"Echec à la définition des données pour 'Ferlane'");
}

TEST_F(ExplorerSettingsTest, RadioItemsHideAndShowTheRealTaskbar) {
  HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  ASSERT_NE(tray, nullptr) << "the tests run on Wine's virtual desktop";
  Click(Page::kBarreMontrer);
  EXPECT_EQ(page().BarreIndex(), 1);
  EXPECT_TRUE(::IsWindowVisible(tray));
  Click(Page::kBarreCacher);
  EXPECT_EQ(page().BarreIndex(), 0);
  EXPECT_FALSE(::IsWindowVisible(tray));
}

// Windows 8 and later give each further monitor its own taskbar: the radio
// items hide and show every one of them with the main one, and nothing else.
HWND TopLevelOfClass(const wchar_t* windowClass) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = windowClass;
  ::RegisterClassW(&wc);
  return ::CreateWindowExW(WS_EX_TOOLWINDOW, windowClass, L"", WS_POPUP | WS_VISIBLE, 0, 980, 200, 40, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

TEST_F(ExplorerSettingsTest, RadioItemsHideAndShowEveryMonitorsTaskbar) {
  HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  ASSERT_NE(tray, nullptr) << "the tests run on Wine's virtual desktop";
  HWND second = TopLevelOfClass(L"Shell_SecondaryTrayWnd");
  HWND third = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_SecondaryTrayWnd", L"", WS_POPUP | WS_VISIBLE, 200, 980,
                                 200, 40, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  HWND other = TopLevelOfClass(L"Shell_SecondaryTrayWndNot");
  ASSERT_TRUE(second && third && other);
  Click(Page::kBarreCacher);
  EXPECT_FALSE(::IsWindowVisible(tray));
  EXPECT_FALSE(::IsWindowVisible(second));
  EXPECT_FALSE(::IsWindowVisible(third));
  EXPECT_TRUE(::IsWindowVisible(other));
  Click(Page::kBarreMontrer);
  EXPECT_TRUE(::IsWindowVisible(tray));
  EXPECT_TRUE(::IsWindowVisible(second));
  EXPECT_TRUE(::IsWindowVisible(third));
  EXPECT_TRUE(::IsWindowVisible(other));
  for (HWND h : {second, third, other}) ::DestroyWindow(h);
}

// A settings change reaches every top-level window, so a running Explorer
// re-reads the values without a new logon.
int g_heard = 0;

LRESULT CALLBACK SettingListener(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETTINGCHANGE && lp && std::wstring(reinterpret_cast<const wchar_t*>(lp)) == L"ShellState")
    ++g_heard;
  return ::DefWindowProcW(h, msg, wp, lp);
}

TEST_F(ExplorerSettingsTest, SuccessfulWriteTellsTheShell) {
  int& heard = g_heard;
  heard = 0;
  WNDCLASSW wc{};
  wc.lpfnWndProc = SettingListener;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"FerlaneSettingListener";
  ::RegisterClassW(&wc);
  HWND listener = ::CreateWindowW(wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  wc.hInstance, nullptr);
  Click(Page::kButton2);
  EXPECT_EQ(heard, 1);
  platform.refusedValueWrites = {kHiddenValue};
  Click(Page::kButton2);
  EXPECT_EQ(heard, 1);
  ::DestroyWindow(listener);
}

// Settings the administrator locked: every box and button of the four
// settings is shown greyed under one line that says why, and neither a
// click nor a call to a handler writes anything or touches the taskbar.
TEST_F(ExplorerSettingsTest, LockedSettingsAreShownGreyedAndChangeNothing) {
  CreateNewStartPanel();
  Policies locked;
  locked.lockSettings = true;
  main = MakeMain(locked);
  for (UINT id : {Page::kMesdocuments, Page::kPostedetravail, Page::kFavorisreseau, Page::kCorbeille, Page::kButton1,
                  Page::kMasque, Page::kButton2, Page::kBarreCacher, Page::kBarreMontrer, Page::kAuto, Page::kButton3})
    EXPECT_FALSE(::IsWindowEnabled(page().Control(id))) << id;
  wchar_t text[64] = {};
  ::GetWindowTextW(page().LockedLine(), text, 64);
  EXPECT_STREQ(text, L"R\u00E9gl\u00E9 par l'administrateur");

  const auto shown = [&] { return (::GetWindowLongPtrW(page().LockedLine(), GWL_STYLE) & WS_VISIBLE) != 0; };
  page().Show(true);
  EXPECT_TRUE(shown());
  page().Show(false);
  EXPECT_FALSE(shown());
  for (UINT box : kIconBoxes) page().SetChecked(box, true);
  page().SetChecked(Page::kMasque, true);
  page().SetChecked(Page::kAuto, true);
  for (UINT button : {Page::kButton1, Page::kButton2, Page::kButton3, Page::kBarreCacher}) Click(button);
  page().Button1Click();
  page().BarreClick();
  for (const auto& icon : kDesktopIcons) EXPECT_EQ(ReadNumber(kNewStartPanelKey, icon.valueName), std::nullopt);
  EXPECT_EQ(ReadNumber(kAdvancedKey, kHiddenValue), std::nullopt);
  EXPECT_EQ(ReadRunValue(), std::nullopt);
  EXPECT_FALSE(page().IsChecked(Page::kBarreCacher));  // the radio's click was not taken either
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace ferlane
