// The main window's access keys (Alt+letter): the menu bar's first, then the
// visible controls' and the tabs'. A letter several controls share moves the
// focus among them in turn and presses none (app/logic/AccessKeys.h).
#include "app/MainWindow.h"

#include <commctrl.h>

#include "app/logic/AccessKeys.h"

namespace ferlane {
namespace {

std::wstring TextOf(HWND h) {
  const int length = ::GetWindowTextLengthW(h);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(h, text.data(), length + 1)));
  return text;
}

bool Usable(HWND h) { return h && ::IsWindowVisible(h) && ::IsWindowEnabled(h); }

bool IsClass(HWND h, const wchar_t* name) {
  wchar_t cls[16];
  return ::GetClassNameW(h, cls, 16) && ::lstrcmpiW(cls, name) == 0;
}

// A button that a key presses: push buttons, check boxes and option buttons,
// not a group box.
bool Pressable(HWND h) {
  if (!IsClass(h, L"Button")) return false;
  const LONG type = ::GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
  return type != BS_GROUPBOX && type != BS_OWNERDRAW;
}

// A group box or a label: its key leads to the control that follows it.
bool IsFrame(HWND h) { return IsClass(h, L"Button") || IsClass(h, L"Static"); }

// Whether a group box or a label at order[at] frames a control that takes a
// key: one of those after it, up to the next frame.
bool FramesUsableControl(const std::vector<HWND>& order, std::size_t at) {
  for (std::size_t i = at + 1; i < order.size(); ++i) {
    if (IsFrame(order[i]) && !Pressable(order[i])) return false;
    if (Usable(order[i])) return true;
  }
  return false;
}

}  // namespace

std::vector<std::wstring> Tficheprincipale::MenuBarCaptions() const {
  std::vector<std::wstring> captions;
  HMENU bar = ::GetMenu(hwnd_);
  for (int i = 0, n = bar ? ::GetMenuItemCount(bar) : 0; i < n; ++i) {
    wchar_t text[128] = {};
    ::GetMenuStringW(bar, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    captions.emplace_back(text);
  }
  return captions;
}

std::vector<Tficheprincipale::AccessKeyTarget> Tficheprincipale::AccessKeyTargets() const {
  std::vector<HWND> order;
  TabOrder(order);
  std::vector<AccessKeyTarget> targets;
  for (std::size_t i = 0; i < order.size(); ++i) {
    HWND h = order[i];
    if (!Usable(h)) continue;
    if (h != pageControl1_) {
      // A frame whose controls are all greyed (settings an administrator
      // locked) leads nowhere: its key does nothing, and never sends the
      // focus past them to whatever comes next.
      if (IsFrame(h) && !Pressable(h) && !FramesUsableControl(order, i)) continue;
      targets.push_back({h, -1, TextOf(h)});
      continue;
    }
    // Each tab is a target of its own, named by its caption.
    for (int tab = 0, n = TabCtrl_GetItemCount(h); tab < n; ++tab) {
      wchar_t text[128] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = 128;
      TabCtrl_GetItem(h, tab, &item);
      targets.push_back({h, tab, text});
    }
  }
  return targets;
}

bool Tficheprincipale::OnAccessKey(wchar_t key) {
  const std::vector<AccessKeyTarget> targets = AccessKeyTargets();
  std::vector<std::wstring> captions;
  int focusedAt = -1;
  HWND focus = ::GetFocus();
  const int shownTab = TabCtrl_GetCurSel(pageControl1_);
  for (const AccessKeyTarget& t : targets) {
    const bool holds =
        t.tab >= 0 ? focus == t.hwnd && t.tab == shownTab : focus && (focus == t.hwnd || ::IsChild(t.hwnd, focus));
    if (holds) focusedAt = static_cast<int>(captions.size());
    captions.push_back(t.caption);
  }
  const AccessKeyChoice choice = ChooseAccessKey(key, MenuBarCaptions(), captions, focusedAt);
  // The menu bar opens its menu; a letter nobody has (Alt+Space too) is the
  // system's as well.
  if (choice.action == AccessKeyAction::OpenMenu || choice.action == AccessKeyAction::None) return false;
  const AccessKeyTarget& t = targets[static_cast<std::size_t>(choice.target)];
  const bool press = choice.action == AccessKeyAction::Press;
  if (t.tab >= 0) {
    // A tab shared with other controls takes the focus onto the tabs; one of
    // its own opens it and leads into it.
    if (!press) ::SetFocus(pageControl1_);
    SelectTab(t.tab);
  } else if (Pressable(t.hwnd)) {
    FocusControl(t.hwnd);
    if (press) ::SendMessageW(t.hwnd, BM_CLICK, 0, 0);
  } else if (!IsFrame(t.hwnd)) {
    FocusControl(t.hwnd);
  } else {
    // A group box leads to the control it frames.
    focusAnchor_ = t.hwnd;
    MoveFocus(false);
  }
  return true;
}

}  // namespace ferlane
