#include "browse/SendToDialog.h"

#include "browse/logic/Texts.h"
#include "platform/Controls.h"
#include "platform/DialogFont.h"
#include "platform/ScreenDpi.h"
#include "platform/UniqueHandle.h"

namespace ferlane {
namespace {

struct DialogState {
  bool done = false;
  SendToAnswer answer;
  HWND edit = nullptr;
};

std::wstring WindowText(HWND h) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(h)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
  return text;
}

LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<DialogState*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
      break;
    case WM_COMMAND:
      if (!s || HIWORD(wp) != BN_CLICKED) break;
      switch (LOWORD(wp)) {
        case IDOK:
          s->answer = {SendToAnswer::Ok, WindowText(s->edit)};
          s->done = true;
          return 0;
        case IDCANCEL:
          s->answer = {SendToAnswer::Cancel, {}};
          s->done = true;
          return 0;
        case kSendToBrowseId:
          s->answer = {SendToAnswer::Browse, {}};
          s->done = true;
          return 0;
        default:
          break;
      }
      break;
    case WM_CLOSE:
      if (s) s->done = true;  // as Cancel
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterDialogClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExW(instance, kSendToDialogClass, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &DialogProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kSendToDialogClass;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

SendToAnswer RunSendToDialog(HWND owner, const std::wstring& initial) {
  DialogState state;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterDialogClass(instance)) return state.answer;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const Dpi d = ScreenDpi();  // the figures are pixels at 96 DPI
  RECT rc{0, 0, d.Px(333), d.Px(135)};
  ::AdjustWindowRectEx(&rc, style, FALSE, WS_EX_DLGMODALFRAME);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  HWND dlg = ::CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kSendToDialogClass,
                               Text(Msg::SendToCaption).c_str(), style, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                               (::GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, owner, nullptr, instance, &state);
  if (!dlg) return state.answer;
  HFONT font = DialogFont();
  HFONT f = font;
  HWND label = CreateChild(dlg, instance, L"STATIC", Text(Msg::SendToPrompt).c_str(), WS_VISIBLE, -1, f);
  state.edit = CreateChild(dlg, instance, L"EDIT", initial.c_str(), WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                           kSendToEditId, f, WS_EX_CLIENTEDGE);
  HWND ok = CreateChild(dlg, instance, L"BUTTON", L"OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, f);
  HWND cancel = CreateChild(dlg, instance, L"BUTTON", Text(Msg::CancelCaption).c_str(),
                            WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, f);
  HWND browse = CreateChild(dlg, instance, L"BUTTON", Text(Msg::BrowseCaption).c_str(),
                            WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kSendToBrowseId, f);
  MoveChild(label, d.Px(20), d.Px(12), d.Px(293), d.Px(16));
  MoveChild(state.edit, d.Px(20), d.Px(32), d.Px(293), d.Px(21));
  MoveChild(ok, d.Px(37), d.Px(80), d.Px(75), d.Px(25));
  MoveChild(cancel, d.Px(129), d.Px(80), d.Px(75), d.Px(25));
  MoveChild(browse, d.Px(221), d.Px(80), d.Px(75), d.Px(25));
  ::SendMessageW(state.edit, EM_LIMITTEXT, 285, 0);
  ::SendMessageW(state.edit, EM_SETSEL, 0, -1);

  const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  ::ShowWindow(dlg, SW_SHOWNORMAL);
  ::SetFocus(state.edit);
  MSG msg;
  while (!state.done) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
      break;
    }
    if (::IsDialogMessageW(dlg, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
  ::DestroyWindow(dlg);
  if (owner) ::SetActiveWindow(owner);
  return state.answer;
}

}  // namespace ferlane
