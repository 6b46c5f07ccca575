#include "platform/SplitterBar.h"

#include <windowsx.h>

#include "platform/WindowThunk.h"

namespace ferlane {
namespace {
constexpr wchar_t kClassName[] = L"FerlaneSplitter";
}

SplitterBar::~SplitterBar() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool SplitterBar::Create(HWND parent, HINSTANCE instance, int id, Axis axis) {
  axis_ = axis;
  // No class cursor: the bar sets the sizing cursor itself.
  if (!RegisterWindowClass(instance, kClassName, &ThunkProc<SplitterBar>, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                           nullptr))
    return false;
  hwnd_ = ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  return hwnd_ != nullptr;
}

LRESULT SplitterBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, axis_ == Axis::Columns ? IDC_SIZEWE : IDC_SIZENS));
      return TRUE;
    case WM_LBUTTONDOWN:
      dragging_ = true;
      last_ = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ::ClientToScreen(hwnd_, &last_);
      ::SetCapture(hwnd_);
      return 0;
    case WM_MOUSEMOVE: {
      if (!dragging_) return 0;
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ::ClientToScreen(hwnd_, &pt);
      const int moved = axis_ == Axis::Columns ? pt.x - last_.x : pt.y - last_.y;
      last_ = pt;
      if (moved && OnMoved) OnMoved(moved);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        if (::GetCapture() == hwnd_) ::ReleaseCapture();
      }
      return 0;
    default:
      return ::DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace ferlane
