#include "shellfolders/PageHelpers.h"

#include "platform/Controls.h"
#include "platform/MenuPictures.h"

namespace ferlane {

void PlaceGroup(HWND group, HWND panel, HWND view, const RECT& r, const Dpi& dpi) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int kTop = dpi.Px(15), kSide = dpi.Px(6), kPanel = dpi.Px(18);
  MoveChild(group, r.left, r.top, w, h);
  int top = r.top + kTop;
  if (panel) {
    MoveChild(panel, r.left + kSide, top, w - 2 * kSide, kPanel);
    top += kPanel + dpi.Px(2);
  }
  MoveChild(view, r.left + kSide, top, w - 2 * kSide, r.bottom - kSide - top);
}

HWND CreateGroup(const PageHost& host, const wchar_t* caption, int id) {
  // A group box paints only its frame and caption: as a transparent window
  // it leaves its margins to the tab control beneath, which would otherwise
  // skip them and keep what another tab drew there (a splitter's gap).
  return CreateChild(host.window, host.instance, L"BUTTON", caption, BS_GROUPBOX, id, host.font,
                     WS_EX_TRANSPARENT);
}

HWND CreatePanel(const PageHost& host, int id) {
  // SS_NOTIFY: a static is otherwise transparent to the pointer, and its hint never shows.
  HWND panel = CreateChild(host.window, host.instance, L"STATIC", L"",
                           SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX | SS_PATHELLIPSIS | SS_NOTIFY, id,
                           host.font, WS_EX_STATICEDGE);
  AddHint(host.tooltip, host.window, panel, L"");
  return panel;
}

void SetPanelPath(const PageHost& host, HWND panel, const std::wstring& path) {
  ::SetWindowTextW(panel, path.c_str());  // whole: FolderPath reads it back
  SetHintText(host.tooltip, host.window, panel, path.c_str());
}

HMENU BuildPageMenu(const PageMenuEntry* entries, std::size_t count) {
  HMENU menu = ::CreatePopupMenu();
  for (std::size_t i = 0; i < count; ++i) {
    if (entries[i].caption) {
      ::AppendMenuW(menu, MF_STRING, entries[i].id, entries[i].caption);
      AttachMenuPicture(menu, entries[i].id, entries[i].picture);
    } else
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  }
  return menu;
}

}  // namespace ferlane
