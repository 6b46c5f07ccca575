#include "app/PasswordWindows.h"

#include <process.h>

#include <cstdint>
#include <memory>

#include "platform/DialogFont.h"
#include "platform/Messages.h"
#include "platform/ScreenDpi.h"
#include "platform/Termination.h"
#include "platform/WindowThunk.h"

namespace ferlane {
namespace {

constexpr DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
// The close box comes with the system menu; a modal frame shows no icon.
constexpr DWORD kCloseBoxStyle = WS_SYSMENU;
constexpr UINT_PTR kTypingTimer = 1;
// A check run away from the window's thread: wParam the generation it was
// asked for, lParam 1 when the text is right.
constexpr UINT kMsgChecked = WM_APP + 1;

struct TypingCheck {
  HWND window;
  WPARAM generation;
  std::wstring stored;
  SecretText typed;
};

unsigned __stdcall RunTypingCheck(void* param) {
  const std::unique_ptr<TypingCheck> check(static_cast<TypingCheck*>(param));
  const bool matches = StoredPasswordMatches(check->stored, check->typed.get());
  ::PostMessageW(check->window, kMsgChecked, check->generation, matches ? 1 : 0);
  return 0;
}

bool RegisterFrameClass(HINSTANCE instance, const wchar_t* className, WNDPROC proc) {
  WNDCLASSEXW existing{sizeof(existing)};
  if (::GetClassInfoExW(instance, className, &existing)) return true;
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

// ---- PasswordDialog ----------------------------------------------------------

SecretText PasswordDialog::SecretOf(HWND entry) {
  SecretText secret;
  const int length = ::GetWindowTextLengthW(entry);
  if (length <= 0) return secret;
  // Grown while still empty, then filled in place.
  std::wstring& text = secret.buffer();
  text.resize(static_cast<size_t>(length) + 1);
  const int copied = ::GetWindowTextW(entry, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return secret;
}

void PasswordDialog::WipeEntry(HWND entry) {
  if (!entry) return;
  // A text of the same length is written over the old one in the control's
  // buffer, which is not ours to free or clear.
  if (const int length = ::GetWindowTextLengthW(entry); length > 0)
    ::SetWindowTextW(entry, std::wstring(static_cast<size_t>(length), L'*').c_str());
  ::SetWindowTextW(entry, L"");
  ::SendMessageW(entry, EM_EMPTYUNDOBUFFER, 0, 0);
}

PasswordDialog::~PasswordDialog() {
  if (!hwnd_) return;
  // The derived window is gone already: its last messages (an entry losing
  // the focus notifies) must not reach its handlers.
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  ::DestroyWindow(hwnd_);
}

bool PasswordDialog::CreateFrame(HINSTANCE instance, const wchar_t* className, const wchar_t* caption,
                                 int clientWidth, int clientHeight, DWORD exStyle, bool closeBox) {
  if (hwnd_) return true;
  if (!RegisterFrameClass(instance, className, &ThunkProc<PasswordDialog>)) return false;
  font_ = DialogFont();
  boldFont_ = BoldDialogFont();
  exStyle |= WS_EX_DLGMODALFRAME;
  // Here and in the Add helpers the figures are pixels at 96 DPI, scaled for the screen.
  const Dpi dpi = ScreenDpi();
  const DWORD style = kFrameStyle | (closeBox ? kCloseBoxStyle : 0);
  RECT rc{0, 0, dpi.Px(clientWidth), dpi.Px(clientHeight)};
  ::AdjustWindowRectEx(&rc, style, FALSE, exStyle);
  ::CreateWindowExW(exStyle, className, caption, style, 0, 0, rc.right - rc.left, rc.bottom - rc.top, nullptr,
                    nullptr, instance, this);
  if (hwnd_) ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return hwnd_ != nullptr;
}

HWND PasswordDialog::AddLabel(const wchar_t* text, int x, int y, int width, int height, bool bold, int id) {
  // One line each, clipped rather than wrapped out of sight; SS_NOPREFIX: a
  // user name may hold an ampersand.
  const Dpi dpi = ScreenDpi();
  HWND label = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                                 dpi.Px(x), dpi.Px(y), dpi.Px(width), dpi.Px(height), hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE)), nullptr);
  if (label)
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(bold ? boldFont_ : font_), FALSE);
  return label;
}

HWND PasswordDialog::AddEntry(int id, int x, int y, int width, int height) {
  const Dpi dpi = ScreenDpi();
  HWND entry = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, dpi.Px(x),
                                 dpi.Px(y), dpi.Px(width), dpi.Px(height), hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE)), nullptr);
  if (!entry) return nullptr;
  ::SendMessageW(entry, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // Every character shows as '*' (the visual styles would show a dot), and
  // a password of any length is taken.
  ::SendMessageW(entry, EM_SETPASSWORDCHAR, L'*', 0);
  ::SendMessageW(entry, EM_SETLIMITTEXT, 0, 0);
  return entry;
}

HWND PasswordDialog::AddButton(int id, const wchar_t* text, int x, int y, int width, int height) {
  const Dpi dpi = ScreenDpi();
  HWND button = ::CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, dpi.Px(x),
                                  dpi.Px(y), dpi.Px(width), dpi.Px(height), hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE)), nullptr);
  if (button) ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return button;
}

void PasswordDialog::CentreOn(HWND owner) {
  RECT bounds{};
  if (!owner || !::GetWindowRect(owner, &bounds))
    bounds = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  RECT own{};
  ::GetWindowRect(hwnd_, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  // A main window stored partly off the screen must not take the prompt with it.
  MoveTo(bounds.left + (bounds.right - bounds.left - width) / 2, bounds.top + (bounds.bottom - bounds.top - height) / 2);
}

void PasswordDialog::MoveTo(int x, int y) {
  RECT own{};
  ::GetWindowRect(hwnd_, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  // Whole on the monitor that shows most of it, inside its work area.
  RECT wanted{x, y, x + width, y + height};
  MONITORINFO info{sizeof(info)};
  if (::GetMonitorInfoW(::MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &info)) {
    const RECT& work = info.rcWork;
    if (x + width > work.right) x = work.right - width;
    if (x < work.left) x = work.left;
    if (y + height > work.bottom) y = work.bottom - height;
    if (y < work.top) y = work.top;
  }
  ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PasswordDialog::MoveToDesignPlace(HWND owner, int designX, int designY) {
  // The design's place is on the owner's monitor (the primary one without
  // an owner), in pixels at 96 DPI.
  POINT origin{0, 0};
  MONITORINFO info{sizeof(info)};
  if (owner && ::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &info))
    origin = POINT{info.rcMonitor.left, info.rcMonitor.top};
  const Dpi dpi = ScreenDpi();
  MoveTo(origin.x + dpi.Px(designX), origin.y + dpi.Px(designY));
}

bool PasswordDialog::RunModal(HWND owner) {
  closed_ = false;
  // After a termination request a modal window closes at once: not even shown.
  if (TerminationRequested()) return false;
  if (::GetWindow(hwnd_, GW_OWNER) != owner)
    ::SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  FormShow();
  RunModalLoop(hwnd_, owner, [this] { return closed_; });
  // The loop also ends on the thread's quit message: only "&OK" counts.
  return closed_ && !TerminationRequested();
}

void PasswordDialog::FocusControl(HWND c) {
  focus_ = c;
  if (c && ::IsWindowVisible(hwnd_)) ::SetFocus(c);
}

void PasswordDialog::Apply(const GateStep& step) {
  if (step.clearMaskEdit1) WipeEntry(Control(GateControl::MaskEdit1));
  if (step.clearMaskEdit2) WipeEntry(Control(GateControl::MaskEdit2));
  if (step.clearMaskEdit3) WipeEntry(Control(GateControl::MaskEdit3));
  if (step.focus != GateControl::None) FocusControl(Control(step.focus));
  if (step.requestTermination) RequestTermination();
  if (step.refusal) ShowWarning(hwnd_, *step.refusal);
  if (step.hashRefused)
    ShowError(hwnd_, L"Le mot de passe n'a pas pu \u00EAtre pris : la m\u00E9moire manque pour calculer son "
                     L"empreinte. Le mot de passe d'avant reste en place.");
  if (step.close) {
    // The password is taken in its stored form: what was typed goes.
    for (GateControl c : {GateControl::MaskEdit1, GateControl::MaskEdit2, GateControl::MaskEdit3})
      WipeEntry(Control(c));
    closed_ = true;
  }
}

LRESULT PasswordDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      HWND control = reinterpret_cast<HWND>(lp);
      if (!control && (id == IDOK || id == IDCANCEL)) {
        // Enter and Escape from the dialog manager: no default button, but
        // Enter on the focused "&OK" presses it, as on any button.
        HWND button = Control(GateControl::Button1);
        if (id == IDOK && button && ::GetFocus() == button) OnCommand(kIdButton1, BN_CLICKED, button);
        if (id == IDCANCEL) OnCancel();
        return 0;
      }
      OnCommand(id, HIWORD(wp), control);
      return 0;
    }
    case WM_ACTIVATE:
      // Like a dialog: the focused control is kept across deactivation.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focused = ::GetFocus();
        if (focused && ::IsChild(hwnd_, focused)) focus_ = focused;
        return 0;
      }
      if (focus_) {
        ::SetFocus(focus_);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (focus_) ::SetFocus(focus_);
      return 0;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wp));
      return 0;
    case kMsgChecked:
      OnChecked(wp, lp != 0);
      return 0;
    case WM_CLOSE:
      // The close box and Alt+F4 (the window is hidden, never destroyed).
      OnCancel();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

// ---- TPasse ------------------------------------------------------------------

bool TPasse::Create(HINSTANCE instance) {
  if (hwnd()) return true;
  // Shown before the main window is visible: it needs a taskbar button of its own.
  if (!CreateFrame(instance, L"TPasse", L"Ferlane: Mot de Passe:", 176, 75, WS_EX_APPWINDOW, true)) return false;
  label2_ = AddLabel(L"", 8, 6, 160, 13, true, kIdUserLabel);
  AddLabel(L"Saisissez votre mot de passe:", 8, 24, 164, 13);
  // Created in tab order: the button comes before the entry.
  button1_ = AddButton(kIdButton1, L"&OK", 128, 42, 40, 25);
  maskEdit1_ = AddEntry(kIdMaskEdit1, 8, 44, 113, 21);
  FormCreate();
  return label2_ && button1_ && maskEdit1_;
}

bool TPasse::ShowModal(HWND owner, const std::wstring& userName, const std::wstring& expected) {
  ::SetWindowTextW(label2_, userName.c_str());
  gate_.SetExpected(expected);
  chosen_.reset();
  rightGeneration_.reset();
  CentreOn(owner);
  return RunModal(owner);
}

HWND TPasse::Control(GateControl c) const {
  switch (c) {
    case GateControl::MaskEdit1: return maskEdit1_;
    case GateControl::Button1: return button1_;
    default: return nullptr;
  }
}

void TPasse::OnCommand(int id, int code, HWND) {
  switch (id) {
    case kIdMaskEdit1:
      if (code == EN_CHANGE) MaskEdit1Change();
      break;
    case kIdButton1:
      if (code == BN_CLICKED) Button1Click();
      break;
    default:
      break;
  }
}

void TPasse::FormCreate() { gate_.ResetCounter(); }

void TPasse::FormShow() { FocusControl(Control(gate_.FocusOnShow())); }

void TPasse::MaskEdit1Change() {
  ++generation_;
  rightGeneration_.reset();
  if (gate_.SlowCompare()) {
    ::SetTimer(hwnd(), kTypingTimer, kTypingPauseMs, nullptr);  // restarted by every key
    return;
  }
  const bool matches = gate_.Matches(SecretOf(maskEdit1_).get());
  if (matches) rightGeneration_ = generation_;
  Apply(gate_.EntryChecked(matches));
}

void TPasse::OnTimer(UINT_PTR id) {
  if (id != kTypingTimer) return;
  ::KillTimer(hwnd(), kTypingTimer);
  StartTypingCheck();
}

void TPasse::StartTypingCheck() {
  // One check at a time: hashes are heavy on memory.
  if (checking_) {
    checkAgain_ = true;
    return;
  }
  SecretText typed = SecretOf(maskEdit1_);
  if (typed.get().empty()) return;  // an empty entry is never the password
  auto check = std::make_unique<TypingCheck>(TypingCheck{hwnd(), generation_, gate_.Expected(), std::move(typed)});
  const std::uintptr_t thread = _beginthreadex(nullptr, 0, &RunTypingCheck, check.get(), 0, nullptr);
  if (!thread) {
    // No thread to be had: checked here, as the button would.
    OnChecked(generation_, gate_.Matches(check->typed.get()));
    return;
  }
  check.release();  // the thread's now
  ::CloseHandle(reinterpret_cast<HANDLE>(thread));
  checking_ = true;
}

void TPasse::OnChecked(WPARAM generation, bool matches) {
  checking_ = false;
  // An answer about a text since changed is no answer.
  if (generation == generation_) {
    if (matches) rightGeneration_ = generation;
    Apply(gate_.EntryChecked(matches));
  }
  if (checkAgain_) {
    checkAgain_ = false;
    StartTypingCheck();
  }
}

void TPasse::OnCancel() {
  ::KillTimer(hwnd(), kTypingTimer);
  Apply(gate_.Cancel());
}

void TPasse::Button1Click() {
  ::KillTimer(hwnd(), kTypingTimer);
  const std::optional<bool> known = rightGeneration_ == generation_ ? std::optional<bool>(true) : std::nullopt;
  GateStep step = gate_.Confirm(SecretOf(maskEdit1_).get(), known);
  if (step.newPassword) chosen_ = step.newPassword;
  Apply(step);
}

// ---- Tsaisie -----------------------------------------------------------------

bool Tsaisie::Create(HINSTANCE instance) {
  if (hwnd()) return true;
  if (!CreateFrame(instance, L"Tsaisie", L"Ferlane: Saisie du mot de passe", 169, 144, WS_EX_APPWINDOW, false))
    return false;
  label1_ = AddLabel(L"", 8, 6, 153, 13, true, kIdUserLabel);
  AddLabel(L"Tapez votre mot de passe:", 8, 24, 157, 13);
  maskEdit1_ = AddEntry(kIdMaskEdit1, 8, 40, 153, 21);
  AddLabel(L"Confirmez votre mot de passe", 8, 66, 157, 13);
  maskEdit2_ = AddEntry(kIdMaskEdit2, 8, 82, 153, 21);
  button1_ = AddButton(kIdButton1, L"&OK", 47, 111, 75, 25);
  return label1_ && maskEdit1_ && maskEdit2_ && button1_;
}

bool Tsaisie::ShowModal(HWND owner, const std::wstring& userName, std::wstring& currentPassword) {
  ::SetWindowTextW(label1_, userName.c_str());
  chosen_.reset();
  CentreOn(owner);
  if (!RunModal(owner) || !chosen_) return false;
  currentPassword = *chosen_;
  return true;
}

HWND Tsaisie::Control(GateControl c) const {
  switch (c) {
    case GateControl::MaskEdit1: return maskEdit1_;
    case GateControl::MaskEdit2: return maskEdit2_;
    case GateControl::Button1: return button1_;
    default: return nullptr;
  }
}

void Tsaisie::OnCommand(int id, int code, HWND) {
  switch (id) {
    case kIdButton1:
      if (code == BN_CLICKED) Button1Click();
      break;
    default:
      break;
  }
}

void Tsaisie::FormShow() { FocusControl(Control(gate_.FocusOnShow())); }

void Tsaisie::Button1Click() {
  GateStep step = gate_.Confirm(SecretOf(maskEdit1_).get(), SecretOf(maskEdit2_).get());
  if (step.newPassword) chosen_ = step.newPassword;
  Apply(step);
}

// ---- Tnouveaupasse -------------------------------------------------------------

bool Tnouveaupasse::Create(HINSTANCE instance) {
  if (hwnd()) return true;
  if (!CreateFrame(instance, L"Tnouveaupasse", L"Nouveau Mot de passe", 171, 197, 0, true)) return false;
  label1_ = AddLabel(L"", 8, 6, 155, 13, true, kIdUserLabel);
  AddLabel(L"Tapez votre mot de passe:", 8, 24, 159, 13);
  AddLabel(L"Tapez le nouveau mot de passe:", 8, 66, 159, 13);
  AddLabel(L"Confirmez le mot de passe", 8, 108, 159, 13);
  // Created in tab order: the current-password entry, at the top, comes last.
  maskEdit1_ = AddEntry(kIdMaskEdit1, 8, 82, 155, 21);
  maskEdit2_ = AddEntry(kIdMaskEdit2, 8, 124, 155, 21);
  button1_ = AddButton(kIdButton1, L"&OK", 48, 160, 75, 25);
  maskEdit3_ = AddEntry(kIdMaskEdit3, 8, 40, 155, 21);
  FormCreate();
  return label1_ && maskEdit1_ && maskEdit2_ && button1_ && maskEdit3_;
}

bool Tnouveaupasse::ShowModal(HWND owner, const std::wstring& userName, std::wstring& currentPassword) {
  ::SetWindowTextW(label1_, userName.c_str());
  userName_ = userName;
  gate_.SetExpected(currentPassword);
  chosen_.reset();
  MoveToDesignPlace(owner, 385, 248);
  if (!RunModal(owner) || !chosen_) return false;
  currentPassword = *chosen_;
  return true;
}

HWND Tnouveaupasse::Control(GateControl c) const {
  switch (c) {
    case GateControl::MaskEdit1: return maskEdit1_;
    case GateControl::MaskEdit2: return maskEdit2_;
    case GateControl::MaskEdit3: return maskEdit3_;
    case GateControl::Button1: return button1_;
    default: return nullptr;
  }
}

void Tnouveaupasse::OnCommand(int id, int code, HWND) {
  switch (id) {
    case kIdButton1:
      if (code == BN_CLICKED) Button1Click();
      break;
    default:
      break;
  }
}

void Tnouveaupasse::FormCreate() { gate_.ResetCounter(); }

void Tnouveaupasse::FormShow() { FocusControl(Control(gate_.FocusOnShow())); }

void Tnouveaupasse::Button1Click() {
  GateStep step =
      gate_.Confirm(SecretOf(maskEdit3_).get(), SecretOf(maskEdit1_).get(), SecretOf(maskEdit2_).get());
  if (step.askRemoval) step = gate_.RemovalAnswered(AskYesNo(hwnd(), RemovePasswordQuestion(userName_)));
  if (step.newPassword) chosen_ = step.newPassword;
  Apply(step);
}

void Tnouveaupasse::OnCancel() {
  chosen_.reset();
  Apply(gate_.Cancel());
}

}  // namespace ferlane
