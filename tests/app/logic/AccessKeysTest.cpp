#include "app/logic/AccessKeys.h"

#include <gtest/gtest.h>

namespace ferlane {
namespace {

TEST(AccessKeys, TheLetterAfterTheSingleAmpersandFolded) {
  EXPECT_EQ(AccessKeyOf(L"&Appliquer"), L'A');
  EXPECT_EQ(AccessKeyOf(L"Changer le mot de &Passe"), L'P');
  EXPECT_EQ(AccessKeyOf(L"Ac&tualiser\tF5"), L'T');
  EXPECT_EQ(AccessKeyOf(L"Su && &r\u00e9glages"), L'R');
  EXPECT_EQ(AccessKeyOf(L"&\u00e9t\u00e9"), L'\u00c9');
  EXPECT_EQ(AccessKeyOf(L"Tom && Jerry"), 0);
  EXPECT_EQ(AccessKeyOf(L"fin&"), 0);
  EXPECT_EQ(AccessKeyOf(L""), 0);
}

// The menu bar first; one control presses; several take the focus in turn.
TEST(AccessKeys, MenuBarFirstThenOneControlPressesAndSharedLettersMoveTheFocus) {
  const std::vector<std::wstring> menus = {L"&Action", L"&Aide", L"A &Propos"};
  const std::vector<std::wstring> controls = {
      L"",                     // 0: a toolbar button, no caption
      L"&Icones du Bureau",    // 1
      L"&Appliquer",           // 2
      L"&Barre de t\u00e2ches",  // 3
      L"Cacher la barre",      // 4
      L"&Bureau personnel",    // 5
      L"&Gestion",             // 6
  };
  struct Case {
    wchar_t key;
    int focusedAt;
    AccessKeyAction action;
    int target;
  };
  const Case cases[] = {
      {L'a', 2, AccessKeyAction::OpenMenu, -1},  // "&Appliquer" too, but the menu wins
      {L'p', -1, AccessKeyAction::OpenMenu, -1},
      {L'g', -1, AccessKeyAction::Press, 6},
      {L'I', 5, AccessKeyAction::Press, 1},
      {L'b', -1, AccessKeyAction::Focus, 3},
      {L'b', 3, AccessKeyAction::Focus, 5},
      {L'b', 4, AccessKeyAction::Focus, 5},
      {L'b', 5, AccessKeyAction::Focus, 3},  // round to the first
      {L'b', 6, AccessKeyAction::Focus, 3},
      {L'z', 0, AccessKeyAction::None, -1},
      {L'&', 0, AccessKeyAction::None, -1},
  };
  for (const Case& c : cases) {
    const AccessKeyChoice choice = ChooseAccessKey(c.key, menus, controls, c.focusedAt);
    EXPECT_EQ(choice.action, c.action) << static_cast<char>(c.key) << " focused at " << c.focusedAt;
    EXPECT_EQ(choice.target, c.target) << static_cast<char>(c.key) << " focused at " << c.focusedAt;
  }
}

}  // namespace
}  // namespace ferlane
