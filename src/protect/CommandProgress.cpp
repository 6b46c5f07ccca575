#include "protect/CommandProgress.h"

#include <commctrl.h>

#include "browse/TreeSizeProgress.h"
#include "platform/DialogFont.h"
#include "platform/Messages.h"
#include "platform/ScreenDpi.h"
#include "platform/WindowThunk.h"

namespace ferlane {
namespace {

constexpr wchar_t kClass[] = L"TListCommandProgress";
constexpr int kStopId = IDCANCEL;
constexpr int kWidth = 380, kHeight = 124;  // pixels at 96 DPI, scaled for the screen

bool IsInput(UINT msg) {
  return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) ||
         (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK);
}

HWND AddChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
              int id, HFONT font) {
  HWND child = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                 nullptr);
  if (child) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

}  // namespace

CommandProgress::CommandProgress(HWND owner, HWND view, ListCommand command, PaceSettings pace,
                                 std::function<void(std::size_t, ItemState)> onItem)
    : owner_(owner), view_(view), command_(command), pace_(pace, ::GetTickCount()), onItem_(std::move(onItem)) {}

CommandProgress::~CommandProgress() {
  // The owner first, or the system would activate another program's window
  // when the progress window goes.
  if (ownerDisabled_) ::EnableWindow(owner_, TRUE);
  if (window_) {
    ::DestroyWindow(window_);
    if (owner_ && ::IsWindow(owner_)) ::SetActiveWindow(owner_);
  }
  if (quit_) ::PostQuitMessage(quitCode_);
}

bool CommandProgress::ItemDone(std::size_t item, ItemState state, std::size_t done, std::size_t total) {
  if (onItem_) onItem_(item, state);
  switch (pace_.AfterItem(::GetTickCount())) {
    case PaceStep::Go: return !pace_.Stopped();
    case PaceStep::ShowProgress:
      // Nothing left to show for the last item.
      if (done < total) ShowWindowNow(total);
      break;
    case PaceStep::Answer: break;
  }
  const DWORD begin = ::GetTickCount();
  Refresh(done, total);
  Answer();
  pace_.Answered(begin, ::GetTickCount());
  return !pace_.Stopped();
}

void CommandProgress::ShowWindowNow(std::size_t total) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterDialogClass(instance, kClass, &ThunkProc<CommandProgress>)) return;
  const Dpi dpi = ScreenDpi();
  const int width = dpi.Px(kWidth);
  RECT rc{0, 0, width, dpi.Px(kHeight)};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  ::AdjustWindowRectEx(&rc, style, FALSE, WS_EX_DLGMODALFRAME);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  RECT ownerRc{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (owner_) ::GetWindowRect(owner_, &ownerRc);
  if (!::CreateWindowExW(WS_EX_DLGMODALFRAME, kClass, ApplicationTitle().c_str(), style,
                         (ownerRc.left + ownerRc.right - w) / 2, (ownerRc.top + ownerRc.bottom - h) / 2, w, h,
                         owner_, nullptr, instance, this))
    return;
  font_ = DialogFont();
  const int margin = dpi.Px(12), line = dpi.Px(16), inner = width - 2 * margin;
  AddChild(window_, L"STATIC", ProgressTitle(command_).c_str(), SS_LEFT, margin, margin, inner, line, -1, font_);
  bar_ = AddChild(window_, PROGRESS_CLASSW, L"", 0, margin, dpi.Px(34), inner, line, -1, font_);
  ::SendMessageW(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
  count_ = AddChild(window_, L"STATIC", ProgressCount(0, total, L" ").c_str(), SS_LEFT, margin, dpi.Px(58), inner,
                    line, -1, font_);
  const int buttonWidth = dpi.Px(88);
  HWND stop = AddChild(window_, L"BUTTON", L"Arr\u00EAter", WS_TABSTOP | BS_DEFPUSHBUTTON, (width - buttonWidth) / 2,
                       dpi.Px(86), buttonWidth, dpi.Px(26), kStopId, font_);
  // Modal like a dialog: the owner takes no input while the window shows.
  if (owner_ && ::IsWindowEnabled(owner_)) {
    ::EnableWindow(owner_, FALSE);
    ownerDisabled_ = true;
  }
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetFocus(stop);
}

void CommandProgress::Refresh(std::size_t done, std::size_t total) {
  if (!window_) return;
  static const std::wstring thousands = LocaleNumberFormat().thousandSeparator;
  ::SetWindowTextW(count_, ProgressCount(done, total, thousands).c_str());
  ::SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(ProgressPermille(done, total)), 0);
}

void CommandProgress::Answer() {
  if (view_ && ::IsWindow(view_)) ::InvalidateRect(view_, nullptr, FALSE);
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Passed on once the command has stopped.
      quit_ = true;
      quitCode_ = static_cast<int>(msg.wParam);
      pace_.Stop();
      continue;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      pace_.Stop();
      continue;
    }
    if (window_ && (msg.hwnd == window_ || ::IsChild(window_, msg.hwnd))) {
      if (!::IsDialogMessageW(window_, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      continue;
    }
    // A click or a key meant for the main window would start another
    // command in the middle of this one.
    if (IsInput(msg.message)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  // A list destroyed meanwhile (the session ending) has no rows to show more.
  if (view_ && !::IsWindow(view_)) pace_.Stop();
}

LRESULT CommandProgress::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kStopId) pace_.Stop();
      return 0;
    case WM_CLOSE:  // the caption's close box stops as the button does
      pace_.Stop();
      return 0;
    default: return ::DefWindowProcW(window_, msg, wp, lp);
  }
}

}  // namespace ferlane
