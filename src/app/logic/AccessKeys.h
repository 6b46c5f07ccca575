#pragma once
// Access keys (Alt+letter) of the main window. The menu bar's come first, as
// in every Windows main window; a letter that several visible controls share
// moves the focus among them in turn without pressing any, as the dialog
// manager does with duplicate keys; a letter of one control only acts as its
// key always did.
#include <string>
#include <string_view>
#include <vector>

namespace ferlane {

// A letter as access keys compare it: upper case (ASCII and Latin-1).
wchar_t FoldAccessKey(wchar_t c);
// The folded letter after the single '&' of a caption; 0 when it has none
// ("&&" is a plain ampersand).
wchar_t AccessKeyOf(std::wstring_view caption);

enum class AccessKeyAction {
  None,      // no menu and no control has the letter
  OpenMenu,  // a menu of the bar has it: the window leaves the key to the menu bar
  Press,     // one control has it: its key acts
  Focus      // several have it: the focus goes to the next of them
};
struct AccessKeyChoice {
  AccessKeyAction action = AccessKeyAction::None;
  int target = -1;  // an index into the controls
};
// menus: the captions of the menu bar. controls: the captions of the visible,
// enabled controls in tab order (those without a key too). focusedAt: the
// index of the control that holds the focus, -1 when none does: the next
// control sharing the letter is looked for after it, round to the start.
AccessKeyChoice ChooseAccessKey(wchar_t key, const std::vector<std::wstring>& menus,
                                const std::vector<std::wstring>& controls, int focusedAt);

// A letter that more than one menu or control carries, with their captions
// (the menus' first, then the controls' in tab order); ordered by letter.
struct AccessKeyCollision {
  wchar_t key;
  std::vector<std::wstring> captions;
};
std::vector<AccessKeyCollision> FindAccessKeyCollisions(const std::vector<std::wstring>& menus,
                                                        const std::vector<std::wstring>& controls);

}  // namespace ferlane
