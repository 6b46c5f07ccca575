#pragma once
// What the pages of tabs 2 to 4 build their controls with: group boxes,
// folder path panels and context menus.
#include <windows.h>

#include <cstddef>
#include <string>

#include "platform/TabPage.h"

namespace ferlane {

// Lays out a group box holding a view, with an optional folder path panel as
// its top line; the margins are scaled for `dpi`.
void PlaceGroup(HWND group, HWND panel, HWND view, const RECT& r, const Dpi& dpi);
// A plain child control of a page: a group box, a panel. A panel shows a
// folder's path: when it does not fit, its middle gives way to an ellipsis
// (the end, the folder's own name, stays), and the whole path is its hint.
HWND CreateGroup(const PageHost& host, const wchar_t* caption, int id);
HWND CreatePanel(const PageHost& host, int id);
void SetPanelPath(const PageHost& host, HWND panel, const std::wstring& path);

// A context menu item of a page; the picture is its number in the window's
// shared image list (drawn by the main window, the menus' owner).
struct PageMenuEntry {
  const wchar_t* caption;  // nullptr: separator
  UINT id;
  int picture;
};
HMENU BuildPageMenu(const PageMenuEntry* entries, std::size_t count);
template <std::size_t N>
HMENU BuildPageMenu(const PageMenuEntry (&entries)[N]) {
  return BuildPageMenu(entries, N);
}

}  // namespace ferlane
