// The main window from the keyboard: Tab and Shift+Tab through the visible
// tab's controls in reading order, Ctrl+Tab between the tabs, access keys,
// F6 for what a drag does, F5 for the protected list's states, Delete for its
// selected rows, and the context menus from Shift+F10 and the menu key.
#include "app/MainWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "resource.h"
#include "shellfolders/logic/MoveRules.h"

namespace ferlane {
namespace {

bool IsGroupBox(HWND h) {
  wchar_t cls[16];
  if (!::GetClassNameW(h, cls, 16) || ::lstrcmpiW(cls, L"Button") != 0) return false;
  return (::GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool TakesFocus(HWND h) { return h && ::IsWindowVisible(h) && ::IsWindowEnabled(h) && !IsGroupBox(h); }

bool Within(HWND outer, HWND h) { return h && (h == outer || ::IsChild(outer, h)); }

bool KeyDown(int key) { return ::GetKeyState(key) < 0; }

}  // namespace

void Tficheprincipale::TabOrder(std::vector<HWND>& order) const {
  for (HWND b : speedButtons_) order.push_back(b);
  order.push_back(pageControl1_);
  const int tab = TabCtrl_GetCurSel(pageControl1_);
  if (tab == 0) {
    for (HWND h : {dirTree1_.hwnd(), fileListView1_.hwnd(), groupBox1_, listView1_.hwnd()}) order.push_back(h);
    return;
  }
  for (const auto& slot : pages_)
    if (slot.tab == tab) slot.page->TabStops(order);
}

void Tficheprincipale::FocusControl(HWND h) {
  if (!h) return;
  HWND inner = h;
  if (TFileListView* view = TFileListView::FromHwnd(h); view && view->hwnd() == h) inner = view->ListHwnd();
  if (TDirTree* tree = TDirTree::FromHwnd(h); tree && tree->hwnd() == h) inner = tree->TreeHwnd();
  ::SetFocus(inner);
  // A list with no focused row would show no focus at all: its first row
  // takes the focus mark, selected or not.
  wchar_t cls[32];
  if (::GetClassNameW(inner, cls, 32) && ::lstrcmpiW(cls, WC_LISTVIEWW) == 0 && ListView_GetItemCount(inner) > 0 &&
      ListView_GetNextItem(inner, -1, LVNI_FOCUSED) < 0)
    ListView_SetItemState(inner, 0, LVIS_FOCUSED, LVIS_FOCUSED);
}

void Tficheprincipale::MoveFocus(bool back) {
  std::vector<HWND> order;
  TabOrder(order);
  if (order.empty()) return;
  const int n = static_cast<int>(order.size());
  int at = -1;
  if (focusAnchor_) {
    // An access key of a group box: on from the box.
    at = static_cast<int>(std::find(order.begin(), order.end(), focusAnchor_) - order.begin());
    focusAnchor_ = nullptr;
  } else {
    HWND focus = ::GetFocus();
    for (int i = 0; i < n; ++i)
      if (Within(order[static_cast<std::size_t>(i)], focus)) at = i;
  }
  if (at >= n) at = -1;
  if (at < 0 && back) at = 0;
  for (int step = 1; step <= n; ++step) {
    const int i = ((at + (back ? -step : step)) % n + n) % n;
    if (TakesFocus(order[static_cast<std::size_t>(i)])) {
      FocusControl(order[static_cast<std::size_t>(i)]);
      return;
    }
  }
}

void Tficheprincipale::SelectTab(int index) {
  const int count = TabCtrl_GetItemCount(pageControl1_);
  if (count <= 0) return;
  index = (index % count + count) % count;
  const bool onTabs = ::GetFocus() == pageControl1_;
  TabCtrl_SetCurSel(pageControl1_, index);
  ShowTabPage(index);
  PageControl1Change();
  if (onTabs) return;
  // The focus goes to the new tab's first control, as in a property sheet.
  std::vector<HWND> order;
  TabOrder(order);
  const auto first = std::find(order.begin(), order.end(), pageControl1_);
  for (auto it = first; it != order.end(); ++it)
    if (it != first && TakesFocus(*it)) return FocusControl(*it);
  FocusControl(pageControl1_);
}

TFileListView* Tficheprincipale::FacingSource() const {
  TFileListView* view = TFileListView::FromHwnd(::GetFocus());
  if (!view || !::IsWindowVisible(view->hwnd())) return nullptr;
  const wchar_t* name = const_cast<ShellFolders&>(shellFolders_).NameOf(*view);
  return name && RouteFrom(name) ? view : nullptr;
}

void Tficheprincipale::AjouterALaListeClick() {
  if (TabCtrl_GetCurSel(pageControl1_) != 0 || listView1_.Busy() || !ListUsable()) return;
  listView1_.ListView1DragDrop(&fileListView1_, fileListView1_);
  UpdateListButtons();
}

void Tficheprincipale::DeplacerEnFaceClick() {
  if (TFileListView* view = FacingSource()) shellFolders_.SendToFacingView(*view);
}

void Tficheprincipale::Actualiser1Click() { RunListCommand(&ProtectedList::Actualiser1Click); }

void Tficheprincipale::UpdateActionMenu(HMENU menu) {
  const bool firstTab = TabCtrl_GetCurSel(pageControl1_) == 0;
  auto enable = [menu](UINT id, bool on) { ::EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  enable(IDM_ACTUALISER, firstTab && listView1_.ItemCount() > 0 && !listView1_.Busy());
  enable(IDM_AJOUTER_A_LA_LISTE,
         firstTab && fileListView1_.SelectedIndex() >= 0 && !listView1_.Busy() && ListUsable());
  enable(IDM_DEPLACER_EN_FACE, FacingSource() != nullptr);
}

bool Tficheprincipale::OpenContextMenuFromKeyboard() {
  HWND focus = ::GetFocus();
  // The tree opens its own menu from these keys.
  if (!focus || TDirTree::FromHwnd(focus)) return false;
  ::SendMessageW(focus, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(focus), MAKELPARAM(-1, -1));
  return true;
}

bool Tficheprincipale::PreTranslateMessage(MSG& msg) {
  if (!hwnd_ || !::IsWindowEnabled(hwnd_) || (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd))) return false;
  const bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT), alt = KeyDown(VK_MENU);
  HWND focus = ::GetFocus();
  switch (msg.message) {
    case WM_KEYDOWN:
      switch (msg.wParam) {
        case VK_TAB:
          if (alt) return false;
          if (ctrl) {
            SelectTab(TabCtrl_GetCurSel(pageControl1_) + (shift ? -1 : 1));
            return true;
          }
          // A caption being edited in a list keeps its keys.
          if (wchar_t cls[16]; ::GetClassNameW(focus, cls, 16) && ::lstrcmpiW(cls, L"Edit") == 0) return false;
          MoveFocus(shift);
          return true;
        case VK_F6:
          if (ctrl || shift || alt) return false;
          if (Within(fileListView1_.hwnd(), focus)) {
            AjouterALaListeClick();
            return true;
          }
          if (FacingSource()) {
            DeplacerEnFaceClick();
            return true;
          }
          return false;
        case VK_F5:
          if (ctrl || shift || alt || !Within(listView1_.hwnd(), focus)) return false;
          Actualiser1Click();
          return true;
        case VK_DELETE:
          // The protected list's rows, as "Su&pprimer la selection": the
          // files themselves are never touched.
          if (ctrl || shift || alt || !Within(listView1_.hwnd(), focus)) return false;
          Supprimer2Click();
          return true;
        case VK_APPS:
          return OpenContextMenuFromKeyboard();
        default:
          return false;
      }
    case WM_KEYUP:
      return msg.wParam == VK_APPS && !TDirTree::FromHwnd(focus);
    case WM_SYSKEYDOWN:
      return msg.wParam == VK_F10 && shift && !ctrl && OpenContextMenuFromKeyboard();
    case WM_SYSKEYUP:
      return msg.wParam == VK_F10 && shift && !TDirTree::FromHwnd(focus);
    case WM_SYSCHAR:
      // Alt+letter (the context bit says Alt is down): the menu bar's first,
      // then the visible controls'.
      return (msg.lParam & (1 << 29)) && OnAccessKey(static_cast<wchar_t>(msg.wParam));
    default:
      return false;
  }
}

void Tficheprincipale::OnNextDialogControl(WPARAM wp, LPARAM lp) {
  if (!LOWORD(lp)) return MoveFocus(wp != 0);
  HWND h = reinterpret_cast<HWND>(wp);
  if (TakesFocus(h)) FocusControl(h);
  else focusAnchor_ = h;  // a group box: the next WM_NEXTDLGCTL goes on from it
}

}  // namespace ferlane
