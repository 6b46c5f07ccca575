#include "browse/TreeSizeProgress.h"

#include "browse/logic/FileOpsLogic.h"
#include "platform/DialogFont.h"
#include "platform/ScreenDpi.h"
#include "platform/UniqueHandle.h"
#include "platform/WindowThunk.h"

namespace ferlane {
namespace {

constexpr wchar_t kProgressClass[] = L"TTreeSizeProgress";
constexpr int kCancelId = IDCANCEL;
constexpr UINT_PTR kRefreshTimer = 1;

struct ProgressState {
  FolderSizeWalk* walk = nullptr;
  TLanguage language = lnEnglish;
  HWND line = nullptr;
  bool cancelled = false;  // by the user: no figure, even if the walk just ended
};

void Refresh(const ProgressState& s) {
  const std::wstring text = fileops::ProgressLine(s.language, s.walk->Folders(), s.walk->Bytes(), LocaleNumberFormat());
  ::SetWindowTextW(s.line, text.c_str());
}

LRESULT CALLBACK ProgressProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<ProgressState*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
      break;
    case WM_TIMER:
      if (s && wp == kRefreshTimer) Refresh(*s);
      return 0;
    case WM_COMMAND:
      if (s && LOWORD(wp) == kCancelId) {
        s->cancelled = true;
        s->walk->Cancel();
      }
      return 0;
    case WM_CLOSE:
      if (s) {
        s->cancelled = true;
        s->walk->Cancel();
      }
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

HWND CreateProgressWindow(HWND owner, const std::wstring& caption, ProgressState& state) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterDialogClass(instance, kProgressClass, &ProgressProc)) return nullptr;
  const Dpi d = ScreenDpi();  // the figures are pixels at 96 DPI
  RECT rc{0, 0, d.Px(360), d.Px(90)};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  ::AdjustWindowRectEx(&rc, style, FALSE, WS_EX_DLGMODALFRAME);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  RECT ownerRc{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (owner) ::GetWindowRect(owner, &ownerRc);
  HWND wnd = ::CreateWindowExW(WS_EX_DLGMODALFRAME, kProgressClass, caption.c_str(), style,
                               (ownerRc.left + ownerRc.right - w) / 2, (ownerRc.top + ownerRc.bottom - h) / 2, w, h,
                               owner, nullptr, instance, &state);
  if (!wnd) return nullptr;
  HFONT font = DialogFont();
  state.line = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, d.Px(12), d.Px(14), d.Px(336),
                                 d.Px(18), wnd, nullptr,
                                 instance, nullptr);
  HWND cancel = ::CreateWindowExW(0, L"BUTTON", fileops::ProgressCancelCaption(state.language).c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, d.Px(142), d.Px(52), d.Px(75),
                                  d.Px(25), wnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)), instance, nullptr);
  ::SendMessageW(state.line, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::SendMessageW(cancel, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Refresh(state);
  ::SetTimer(wnd, kRefreshTimer, 200, nullptr);
  ::ShowWindow(wnd, SW_SHOWNORMAL);
  ::SetFocus(cancel);
  return wnd;
}

}  // namespace

fileops::NumberFormat LocaleNumberFormat() {
  fileops::NumberFormat f;
  wchar_t buf[8];
  if (::GetLocaleInfoW(::GetThreadLocale(), LOCALE_STHOUSAND, buf, 8) > 1) f.thousandSeparator = buf;
  if (::GetLocaleInfoW(::GetThreadLocale(), LOCALE_SDECIMAL, buf, 8) > 1) f.decimalSeparator = buf;
  return f;
}

bool WaitWithProgress(FolderSizeWalk& walk, HWND owner, const std::wstring& caption, TLanguage language,
                      DWORD delay) {
  // No delay shows the window at once, before even a quick walk has ended.
  if (delay > 0 && walk.Wait(delay)) return !walk.Cancelled();

  ProgressState state;
  state.walk = &walk;
  state.language = language;
  // Modal like a dialog: the owner takes no input while the walk runs.
  const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  HWND wnd = CreateProgressWindow(owner, caption, state);

  bool quit = false;
  int quitCode = 0;
  HANDLE done = walk.DoneEvent();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quitCode = static_cast<int>(msg.wParam);
        walk.Cancel();
        continue;
      }
      if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        state.cancelled = true;
        walk.Cancel();
        continue;
      }
      if (wnd && ::IsDialogMessageW(wnd, &msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (walk.Wait(0)) break;
    ::MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT);
  }

  if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
  if (wnd) ::DestroyWindow(wnd);
  if (owner) ::SetActiveWindow(owner);
  if (quit) ::PostQuitMessage(quitCode);
  return !state.cancelled && !walk.Cancelled();
}

}  // namespace ferlane
