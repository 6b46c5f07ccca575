#pragma once
// The rules of the three password windows, apart from any window: what "&OK"
// and typing do to the entries, the focus, the wrong-attempt counters, the
// current password and the life of the program. The windows only carry out
// the steps these classes answer.
#include <optional>
#include <string>
#include <utility>

namespace ferlane {

// The controls of a password window that a step can give the focus to.
enum class GateControl { None, MaskEdit1, MaskEdit2, MaskEdit3, Button1 };

// What a window does after one of its events, in this order: clear the
// entries named, give the focus, request termination, close.
struct GateStep {
  bool clearMaskEdit1 = false;
  bool clearMaskEdit2 = false;
  bool clearMaskEdit3 = false;
  GateControl focus = GateControl::None;
  bool requestTermination = false;
  bool close = false;
  // Set when the window closes having chosen a new current password.
  std::optional<std::wstring> newPassword;
};

// Wrong tries allowed before the program ends: the next one ends it.
inline constexpr int kAllowedWrongAttempts = 3;

// Comparisons are exact: every character, case and accents; no trimming.
inline bool PasswordsEqual(const std::wstring& a, const std::wstring& b) { return a == b; }

// Typed text against an expected password held in its stored form (a hash,
// the old plain form, or empty for none). A hash takes a noticeable time, so
// the last text found right is remembered: "&OK" after a match while typing
// does not pay twice.
class StoredPasswordCheck {
 public:
  void SetStored(std::wstring stored);
  const std::wstring& Stored() const { return stored_; }
  // True when a comparison costs a hash: typing then waits for a pause.
  bool IsSlow() const;
  // True for a hash in the form earlier versions wrote: only the typed
  // password can be stored anew in today's. (The old plain form is hashed at
  // close without it.)
  bool IsOlderHash() const;
  bool Matches(const std::wstring& typed) const;

 private:
  std::wstring stored_;
  mutable std::optional<std::wstring> lastMatch_;
};

// TPasse: the login prompt at start.
class LoginPromptGate {
 public:
  // At window creation; the counter then lives for the whole run.
  void ResetCounter() { wrongAttempts_ = 0; }
  // Before each showing: the stored form of the password.
  void SetExpected(std::wstring expected) { expected_.SetStored(std::move(expected)); }
  const std::wstring& Expected() const { return expected_.Stored(); }
  bool SlowCompare() const { return expected_.IsSlow(); }
  int WrongAttempts() const { return wrongAttempts_; }

  GateControl FocusOnShow() const { return GateControl::MaskEdit1; }
  // The entry's text changed: the button takes the focus as soon as it matches.
  GateStep EntryChanged(const std::wstring& maskEdit1) const;
  // "&OK". Right against a hash in an older form, the typed text comes back
  // as the new current password, so the close stores it in today's form.
  GateStep Confirm(const std::wstring& maskEdit1);

 private:
  StoredPasswordCheck expected_;
  int wrongAttempts_ = 0;
};

// Tsaisie: the first password, typed twice; no counter and no limit.
class FirstPasswordGate {
 public:
  GateControl FocusOnShow() const { return GateControl::MaskEdit1; }
  GateStep Confirm(const std::wstring& maskEdit1, const std::wstring& maskEdit2) const;
};

// Tnouveaupasse: the current password (MaskEdit3), then the new one twice
// (MaskEdit1, confirmed in MaskEdit2).
class ChangePasswordGate {
 public:
  void ResetCounter() { wrongAttempts_ = 0; }
  void SetExpected(std::wstring expected) { expected_.SetStored(std::move(expected)); }
  const std::wstring& Expected() const { return expected_.Stored(); }
  int WrongAttempts() const { return wrongAttempts_; }

  GateControl FocusOnShow() const { return GateControl::MaskEdit3; }
  GateStep Confirm(const std::wstring& maskEdit3, const std::wstring& maskEdit1, const std::wstring& maskEdit2);

 private:
  StoredPasswordCheck expected_;
  int wrongAttempts_ = 0;
};

}  // namespace ferlane
