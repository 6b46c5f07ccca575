#include "app/logic/PasswordGate.h"

#include "app/logic/PasswordHash.h"

namespace ferlane {
namespace {

// A wrong try: one more on the counter, the entry cleared and focused, and
// the end of the program once the allowed tries are spent.
GateStep WrongAttempt(int& counter, GateControl entry) {
  GateStep step;
  ++counter;
  step.clearMaskEdit1 = entry == GateControl::MaskEdit1;
  step.clearMaskEdit3 = entry == GateControl::MaskEdit3;
  step.focus = entry;
  step.requestTermination = counter > kAllowedWrongAttempts;
  return step;
}

// A new password and its confirmation: equal, it is taken and the window
// closes; different, both entries are cleared for another try.
GateStep ConfirmNewPassword(const std::wstring& maskEdit1, const std::wstring& maskEdit2) {
  GateStep step;
  if (PasswordsEqual(maskEdit2, maskEdit1)) {
    step.newPassword = maskEdit2;
    step.close = true;
  } else {
    step.clearMaskEdit1 = true;
    step.clearMaskEdit2 = true;
    step.focus = GateControl::MaskEdit1;
  }
  return step;
}

}  // namespace

void StoredPasswordCheck::SetStored(std::wstring stored) {
  stored_ = std::move(stored);
  lastMatch_.reset();
}

bool StoredPasswordCheck::IsSlow() const { return ParseStoredPassword(stored_).IsHashed(); }

bool StoredPasswordCheck::IsOlderHash() const {
  return ParseStoredPassword(stored_).kind == StoredPassword::Kind::Pbkdf2;
}

bool StoredPasswordCheck::Matches(const std::wstring& typed) const {
  if (lastMatch_ && *lastMatch_ == typed) return true;
  if (!StoredPasswordMatches(stored_, typed)) return false;
  lastMatch_ = typed;
  return true;
}

GateStep LoginPromptGate::EntryChanged(const std::wstring& maskEdit1) const {
  GateStep step;
  if (expected_.Matches(maskEdit1)) step.focus = GateControl::Button1;
  return step;
}

GateStep LoginPromptGate::Confirm(const std::wstring& maskEdit1) {
  if (!expected_.Matches(maskEdit1)) return WrongAttempt(wrongAttempts_, GateControl::MaskEdit1);
  GateStep step;
  step.close = true;
  if (expected_.IsOlderHash()) step.newPassword = maskEdit1;
  return step;
}

GateStep FirstPasswordGate::Confirm(const std::wstring& maskEdit1, const std::wstring& maskEdit2) const {
  return ConfirmNewPassword(maskEdit1, maskEdit2);
}

GateStep ChangePasswordGate::Confirm(const std::wstring& maskEdit3, const std::wstring& maskEdit1,
                                     const std::wstring& maskEdit2) {
  // The new entries are not looked at until the current password is right.
  if (!expected_.Matches(maskEdit3)) return WrongAttempt(wrongAttempts_, GateControl::MaskEdit3);
  return ConfirmNewPassword(maskEdit1, maskEdit2);
}

}  // namespace ferlane
