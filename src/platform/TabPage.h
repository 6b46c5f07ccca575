#pragma once
// A part of one tab of the main window. Its controls are children of the main
// window (so their notifications and commands reach it), created once and
// shown or hidden with their tab; the page owns them and their layout.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "platform/logic/Dpi.h"

namespace ferlane {

// What a page may use of the main window; lent for the whole run.
struct PageHost {
  HWND window = nullptr;       // the main window, parent of every control
  HINSTANCE instance = nullptr;
  HFONT font = nullptr;        // the dialog font, "MS Sans Serif" 8 point
  HIMAGELIST pictures = nullptr;  // the window's small pictures, for menus and buttons
  HWND tooltip = nullptr;      // the window's tooltip control, for hints
  Dpi dpi;                     // the layout's figures are pixels at 96 DPI, scaled by this
};

class ITabPage {
 public:
  virtual ~ITabPage() = default;
  virtual void Create(const PageHost& host) = 0;
  virtual void Show(bool visible) = 0;
  // The part of the tab control's display area given to this page.
  virtual void Layout(const RECT& area) = 0;
  // True when the page handled the command (its menu items and buttons).
  virtual bool OnCommand(UINT /*id*/) { return false; }
  virtual bool OnNotify(const NMHDR& /*hdr*/) { return false; }
  // The page's controls in reading order, for Tab and Shift+Tab: those that
  // take the focus, and the group boxes before the controls they frame (their
  // access key leads to the next control that takes the focus).
  virtual void TabStops(std::vector<HWND>& /*order*/) const {}
  // True when the page showed a context menu for `target`.
  virtual bool OnContextMenu(HWND /*target*/, POINT /*screenPt*/) { return false; }
};

}  // namespace ferlane
