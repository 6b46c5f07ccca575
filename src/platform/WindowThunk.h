#pragma once
// The one window procedure of every window class of the program, and the one
// policy for an exception raised by a handler: nothing may unwind into user32.
//
// T provides, as members a friend ThunkProc<T> may call:
//   void Attach(HWND hwnd);  // at WM_NCCREATE with the window, at WM_NCDESTROY with nullptr
//   LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);  // DefWindowProc for what it leaves
// and passes `this` as the creation parameter of CreateWindowEx.
#include <windows.h>

#include <exception>

#include "platform/ErrorText.h"
#include "platform/Messages.h"

namespace ferlane {

// Runs a handler; an error it raises ends that handler only and is shown to
// the user (through the message sink, so tests see it), and the program goes on.
template <class F>
LRESULT GuardedCall(HWND hwnd, F&& handler) noexcept {
  try {
    return handler();
  } catch (const std::exception& e) {
    try {
      ShowError(hwnd, ExceptionText(e));
    } catch (...) {
    }
  } catch (...) {
    // Not an error of the program's own: the handler simply ends.
  }
  return 0;
}

// Registers the window class `name` with `proc` the first time it is asked
// for, and finds it registered after; false when it cannot be registered.
inline bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HBRUSH background,
                                HCURSOR cursor) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExW(instance, name, &wc)) return true;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return ::RegisterClassExW(&wc) != 0;
}

// A dialog-like window's class: the arrow cursor, the face colour behind.
inline bool RegisterDialogClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
  return RegisterWindowClass(instance, name, proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                             ::LoadCursorW(nullptr, IDC_ARROW));
}

template <class T>
LRESULT CALLBACK ThunkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* created = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    if (created) created->Attach(hwnd);
  }
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {  // the window's last message: its object lets go
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->Attach(nullptr);
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  return GuardedCall(hwnd, [&] { return self->HandleMessage(msg, wp, lp); });
}

}  // namespace ferlane
