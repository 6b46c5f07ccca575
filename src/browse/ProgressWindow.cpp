#include "browse/ProgressWindow.h"

#include <commctrl.h>

#include "platform/DialogFont.h"
#include "platform/ScreenDpi.h"
#include "platform/WindowThunk.h"

namespace ferlane {
namespace {

constexpr wchar_t kClass[] = L"TProgressWindow";
constexpr int kStopId = IDCANCEL;
constexpr int kWidth = 380;  // pixels at 96 DPI, scaled for the screen

bool IsInput(UINT msg) {
  return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) ||
         (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK);
}

HWND AddChild(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, const RECT& r, int id,
              HFONT font) {
  HWND child = ::CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                 nullptr);
  if (child) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

}  // namespace

ProgressWindow::~ProgressWindow() {
  // The owner first, or the system would activate another program's window
  // when the progress window goes.
  if (ownerDisabled_) ::EnableWindow(owner_, TRUE);
  if (window_) {
    ::DestroyWindow(window_);
    if (owner_ && ::IsWindow(owner_)) ::SetActiveWindow(owner_);
  }
  if (quit_) ::PostQuitMessage(quitCode_);
}

void ProgressWindow::Show(const Look& look) {
  if (window_) return;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterDialogClass(instance, kClass, &ThunkProc<ProgressWindow>)) return;
  const Dpi dpi = ScreenDpi();
  const int width = dpi.Px(kWidth), margin = dpi.Px(12), line = dpi.Px(16), inner = width - 2 * margin;
  // The rows from the top, each as tall as it needs: title, bar, figures, button.
  int y = margin;
  const int titleTop = y;
  if (!look.title.empty()) y += line + dpi.Px(6);
  const int barTop = y;
  if (look.bar) y += line + dpi.Px(8);
  const int lineTop = y;
  y += line + dpi.Px(12);
  const int buttonTop = y, buttonWidth = dpi.Px(88), buttonHeight = dpi.Px(26);
  RECT rc{0, 0, width, buttonTop + buttonHeight + margin};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  ::AdjustWindowRectEx(&rc, style, FALSE, WS_EX_DLGMODALFRAME);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  RECT ownerRc{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (owner_) ::GetWindowRect(owner_, &ownerRc);
  if (!::CreateWindowExW(WS_EX_DLGMODALFRAME, kClass, look.caption.c_str(), style,
                         (ownerRc.left + ownerRc.right - w) / 2, (ownerRc.top + ownerRc.bottom - h) / 2, w, h,
                         owner_, nullptr, instance, this))
    return;
  const HFONT font = DialogFont();
  if (!look.title.empty())
    AddChild(window_, L"STATIC", look.title, SS_LEFT, {margin, titleTop, margin + inner, titleTop + line}, -1, font);
  if (look.bar) {
    bar_ = AddChild(window_, PROGRESS_CLASSW, L"", 0, {margin, barTop, margin + inner, barTop + line}, -1, font);
    ::SendMessageW(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
  }
  line_ = AddChild(window_, L"STATIC", look.line, SS_LEFT | SS_NOPREFIX, {margin, lineTop, margin + inner, lineTop + line},
                   -1, font);
  const int buttonLeft = (width - buttonWidth) / 2;
  HWND stop = AddChild(window_, L"BUTTON", look.button, WS_TABSTOP | BS_DEFPUSHBUTTON,
                       {buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight}, kStopId, font);
  // Modal like a dialog: the owner takes no input while the window shows.
  if (owner_ && ::IsWindowEnabled(owner_)) {
    ::EnableWindow(owner_, FALSE);
    ownerDisabled_ = true;
  }
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetFocus(stop);
}

void ProgressWindow::SetLine(const std::wstring& line) {
  if (line_) ::SetWindowTextW(line_, line.c_str());
}

void ProgressWindow::SetPermille(int permille) {
  if (bar_) ::SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(permille), 0);
}

void ProgressWindow::Answer() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Passed on once the job has stopped.
      quit_ = true;
      quitCode_ = static_cast<int>(msg.wParam);
      continue;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      stopAsked_ = true;
      continue;
    }
    if (window_ && (msg.hwnd == window_ || ::IsChild(window_, msg.hwnd))) {
      if (!::IsDialogMessageW(window_, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      continue;
    }
    // A click or a key meant for the owner would start another command in
    // the middle of this one.
    if (IsInput(msg.message)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

LRESULT ProgressWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kStopId) stopAsked_ = true;
      return 0;
    case WM_CLOSE:  // the caption's close box stops as the button does
      stopAsked_ = true;
      return 0;
    default: return ::DefWindowProcW(window_, msg, wp, lp);
  }
}

}  // namespace ferlane
