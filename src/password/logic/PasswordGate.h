#pragma once
// The rules of the three password windows, apart from any window: what "&OK"
// and typing do to the entries, the focus, the wrong-attempt counters, the
// current password and the life of the program. The windows only carry out
// the steps these classes answer.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "password/logic/PasswordHash.h"

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
  // Set when the window closes having chosen a new current password: its
  // stored form (a hash, or empty for none), never the typed text.
  std::optional<std::wstring> newPassword;
  // The password typed was taken, but the memory its hash needs was
  // refused: the current password stays as it was.
  bool hashRefused = false;
  // The new entries are both empty while a password is set: the window asks
  // whether to remove it and hands the answer back to its gate.
  bool askRemoval = false;
  // A line the window shows, staying open: a new password the
  // administrator's minimum length refuses.
  std::optional<std::wstring> refusal;
};

// Wrong tries allowed before the program ends: the next one ends it.
inline constexpr int kAllowedWrongAttempts = 3;

// Comparisons are exact: every character, case and accents; no trimming.
inline bool PasswordsEqual(const std::wstring& a, const std::wstring& b) { return a == b; }

// Typed text against an expected password held in its stored form (a hash,
// the old plain form, or empty for none).
class StoredPasswordCheck {
 public:
  void SetStored(std::wstring stored) { stored_ = std::move(stored); }
  const std::wstring& Stored() const { return stored_; }
  // True when a comparison costs a hash: typing then waits for a pause, and
  // the check runs away from the window's thread.
  bool IsSlow() const;
  // True for a password stored in an earlier form (an older hash, the old
  // plain form): once typed right it is stored anew in today's.
  bool NeedsNewForm() const;
  bool Matches(const std::wstring& typed) const { return StoredPasswordMatches(stored_, typed); }

 private:
  std::wstring stored_;
};

// TPasse: the login prompt at start.
class LoginPromptGate {
 public:
  explicit LoginPromptGate(PasswordCost cost = kPasswordCost) : cost_(cost) {}
  // At window creation; the counter then lives for the whole run.
  void ResetCounter() { wrongAttempts_ = 0; }
  // Before each showing: the stored form of the password.
  void SetExpected(std::wstring expected) { expected_.SetStored(std::move(expected)); }
  const std::wstring& Expected() const { return expected_.Stored(); }
  bool SlowCompare() const { return expected_.IsSlow(); }
  bool Matches(const std::wstring& typed) const { return expected_.Matches(typed); }
  int WrongAttempts() const { return wrongAttempts_; }

  GateControl FocusOnShow() const { return GateControl::MaskEdit1; }
  // The entry's text changed and was checked: the button takes the focus as
  // soon as it matches.
  GateStep EntryChecked(bool matches) const;
  // "&OK". known: whether the text was found right while it was typed;
  // checked here when not known. Right against a password stored in an
  // earlier form, its hash in today's comes back as the new password.
  GateStep Confirm(const std::wstring& maskEdit1, std::optional<bool> known = std::nullopt);
  // Escape or the close box: a refusal, which ends the run as the last
  // wrong try does, without counting a try.
  GateStep Cancel() const;

 private:
  StoredPasswordCheck expected_;
  PasswordCost cost_;
  int wrongAttempts_ = 0;
};

// Tsaisie: the first password, typed twice; no counter and no limit.
class FirstPasswordGate {
 public:
  explicit FirstPasswordGate(PasswordCost cost = kPasswordCost) : cost_(cost) {}
  // The administrator's minimum length of a new password (0: none).
  void SetMinLength(std::uint32_t length) { minLength_ = length; }
  GateControl FocusOnShow() const { return GateControl::MaskEdit1; }
  GateStep Confirm(const std::wstring& maskEdit1, const std::wstring& maskEdit2) const;

 private:
  PasswordCost cost_;
  std::uint32_t minLength_ = 0;
};

// What "&OK" of the change-password window does with the two new entries
// once the current password was found right. A rule on the new password (a
// minimum length) goes before this: it refuses what it refuses, the empty
// password included, and hands on the rest.
enum class NewEntries {
  Differ,     // the entries differ: both are cleared for another try
  Take,       // the entries match: the password is taken (empty: none, when none is set)
  AskRemoval  // both empty while a password is set: the user is asked first
};
NewEntries JudgeNewEntries(bool passwordSet, const std::wstring& maskEdit1, const std::wstring& maskEdit2);

// Tnouveaupasse: the current password (MaskEdit3), then the new one twice
// (MaskEdit1, confirmed in MaskEdit2).
class ChangePasswordGate {
 public:
  explicit ChangePasswordGate(PasswordCost cost = kPasswordCost) : cost_(cost) {}
  void ResetCounter() { wrongAttempts_ = 0; }
  void SetExpected(std::wstring expected) { expected_.SetStored(std::move(expected)); }
  const std::wstring& Expected() const { return expected_.Stored(); }
  int WrongAttempts() const { return wrongAttempts_; }
  void SetMinLength(std::uint32_t length) { minLength_ = length; }

  GateControl FocusOnShow() const { return GateControl::MaskEdit3; }
  GateStep Confirm(const std::wstring& maskEdit3, const std::wstring& maskEdit1, const std::wstring& maskEdit2);
  // The answer to the question a step with askRemoval put: yes removes the
  // password and closes; no leaves the window as it is. Without a question
  // pending it does nothing.
  GateStep RemovalAnswered(bool remove);
  // Escape or the close box: the window closes, nothing changes and no try
  // is counted.
  GateStep Cancel() const;

 private:
  StoredPasswordCheck expected_;
  PasswordCost cost_;
  int wrongAttempts_ = 0;
  bool removalAsked_ = false;
  std::uint32_t minLength_ = 0;
};

// The question of a step with askRemoval.
std::wstring RemovePasswordQuestion(const std::wstring& userName);

// A new password (the first entry) shorter than the administrator's minimum:
// the step that says so and clears both new entries; nothing when it is
// long enough. Checked before the two entries are compared.
std::optional<GateStep> RefuseShortPassword(const std::wstring& maskEdit1, std::uint32_t minLength);

// Why a damaged stored value opens nothing, and how an administrator resets
// it; the window and the command line each add what follows.
std::wstring DamagedPasswordText(const std::wstring& userName);

}  // namespace ferlane
