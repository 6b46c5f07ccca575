#pragma once
// Small helpers over plain child controls.
#include <windows.h>

namespace ferlane {

// A child control at 0,0 of size 0 (its owner lays it out), in `font`.
inline HWND CreateChild(HWND parent, HINSTANCE instance, const wchar_t* cls, const wchar_t* text, DWORD style,
                        int id, HFONT font, DWORD exStyle = 0) {
  HWND h = ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (h && font) ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

inline void MoveChild(HWND child, int x, int y, int w, int h) {
  if (child) ::MoveWindow(child, x, y, w < 0 ? 0 : w, h < 0 ? 0 : h, TRUE);
}

// Gives `control` the name assistive technology reads for it: `caption`
// without its access-key ampersand, as its window text (oleacc names a
// control by its text; a list or tree view shows none).
void SetAccessibleName(HWND control, const wchar_t* caption);

// Widens column `column` of a list view when its header would cut `caption`:
// the font grows with the DPI a little faster than the design's widths do.
void FitColumnToCaption(HWND list, int column, const wchar_t* caption);

// Adds a hint shown by `tooltip` when the pointer rests on `control`.
void AddHint(HWND tooltip, HWND owner, HWND control, const wchar_t* text);
// Replaces the text of a hint added by AddHint; an empty text shows none.
void SetHintText(HWND tooltip, HWND owner, HWND control, const wchar_t* text);

}  // namespace ferlane
