#include "platform/Controls.h"

#include <string>

#include <commctrl.h>

#include "platform/ScreenDpi.h"

namespace ferlane {

void SetAccessibleName(HWND control, const wchar_t* caption) {
  if (!control || !caption) return;
  std::wstring name;
  for (const wchar_t* c = caption; *c; ++c) {
    if (*c == L'&') {
      if (c[1] != L'&') continue;  // the access key's mark
      ++c;                          // "&&" shows one "&"
    }
    name += *c;
  }
  ::SetWindowTextW(control, name.c_str());
}

void AddHint(HWND tooltip, HWND owner, HWND control, const wchar_t* text) {
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(text);
  ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void SetHintText(HWND tooltip, HWND owner, HWND control, const wchar_t* text) {
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(text);
  ::SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void FitColumnToCaption(HWND list, int column, const wchar_t* caption) {
  if (!list || !caption) return;
  // The header keeps a margin either side of its text (three edges at 96
  // DPI), taken here at the DPI, with a pixel to spare.
  const int margin = ScreenDpi().Px(12) + 1;
  const int need =
      static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(caption))) + margin;
  if (::SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0) < need)
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(need, 0));
}

}  // namespace ferlane
