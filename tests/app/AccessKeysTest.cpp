// The main window's access keys: the menu bar's first, a letter shared by
// several visible controls only moves the focus, and the table of every
// letter that more than one menu or control carries, tab by tab.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include "app/logic/AccessKeys.h"
#include "platform/Registry.h"
#include "platform/Termination.h"
#include "settings/logic/ExplorerSettings.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

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

class AccessKeysTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTermination();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kNewStartPanelKey);
    platform.userName = L"dupont";
    main = std::make_unique<Tficheprincipale>(scratch.Folder(L"Outils") + L"\\");
    ASSERT_TRUE(main->Create(::GetModuleHandleW(nullptr)));
    main->FormShow();
    ::ShowWindow(main->hwnd(), SW_SHOW);
    ::SetForegroundWindow(main->hwnd());
  }
  void TearDown() override {
    main.reset();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kNewStartPanelKey);
    ResetTermination();
  }

  test::ScratchDir scratch;
  test::FakePlatform platform;
  test::RecordingMessages messages;
  std::unique_ptr<Tficheprincipale> main;
};

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

TEST_F(AccessKeysTest, TheCollisionsOfEveryTabAreTheTableOfTheNote) {
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

TEST_F(AccessKeysTest, AltAOnTheSettingsTabOpensTheMenuAndAppliesNothing) {
  {
    RegistryKey panel;  // as on Windows, where the key exists
    ASSERT_EQ(panel.Open(HKEY_CURRENT_USER, kNewStartPanelKey, true), ERROR_SUCCESS);
  }
  ShowTab(*main, 2);
  ExplorerSettingsPage& page = main->ExplorerSettings();
  page.SetChecked(ExplorerSettingsPage::kCorbeille, true);
  ::SetFocus(page.Control(ExplorerSettingsPage::kCorbeille));
  EXPECT_FALSE(PressAlt(*main, L'a'));  // left to the menu bar's "&Action"
  EXPECT_FALSE(PressAlt(*main, L'A'));
  RegistryKey panel;
  ASSERT_EQ(panel.Open(HKEY_CURRENT_USER, kNewStartPanelKey), ERROR_SUCCESS);
  EXPECT_FALSE(panel.ReadDword(kDesktopIcons[3].valueName).has_value());
  EXPECT_EQ(::GetFocus(), page.Control(ExplorerSettingsPage::kCorbeille));
  EXPECT_TRUE(page.IsChecked(ExplorerSettingsPage::kCorbeille));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AccessKeysTest, ASharedLetterMovesTheFocusInTurnAndAUniqueOneActs) {
  ShowTab(*main, 2);
  ExplorerSettingsPage& page = main->ExplorerSettings();
  ::SetFocus(page.Control(ExplorerSettingsPage::kCorbeille));
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
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace ferlane
