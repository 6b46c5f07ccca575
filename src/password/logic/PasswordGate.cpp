#include "password/logic/PasswordGate.h"

#include "policies/logic/Policies.h"
#include "platform/logic/SettingsKey.h"

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

// A password taken: the window closes with its hash, made now so that the
// typed text need not be kept; the empty text stays "no password".
GateStep TakePassword(const std::wstring& typed, PasswordCost cost) {
  GateStep step;
  step.close = true;
  if (typed.empty()) {
    step.newPassword = std::wstring();
  } else {
    step.newPassword = HashPassword(typed, cost);
    step.hashRefused = !step.newPassword;
  }
  return step;
}

// A new password and its confirmation: equal, it is taken and the window
// closes; different, both entries are cleared for another try.
GateStep ConfirmNewPassword(const std::wstring& maskEdit1, const std::wstring& maskEdit2, PasswordCost cost) {
  if (PasswordsEqual(maskEdit2, maskEdit1)) return TakePassword(maskEdit2, cost);
  GateStep step;
  step.clearMaskEdit1 = true;
  step.clearMaskEdit2 = true;
  step.focus = GateControl::MaskEdit1;
  return step;
}

}  // namespace

bool StoredPasswordCheck::IsSlow() const { return ParseStoredPassword(stored_).IsHashed(); }

bool StoredPasswordCheck::NeedsNewForm() const {
  const StoredPassword::Kind kind = ParseStoredPassword(stored_).kind;
  return kind == StoredPassword::Kind::Plain || kind == StoredPassword::Kind::Pbkdf2;
}

GateStep LoginPromptGate::EntryChecked(bool matches) const {
  GateStep step;
  if (matches) step.focus = GateControl::Button1;
  return step;
}

GateStep LoginPromptGate::Confirm(const std::wstring& maskEdit1, std::optional<bool> known) {
  const bool right = known ? *known : expected_.Matches(maskEdit1);
  if (!right) return WrongAttempt(wrongAttempts_, GateControl::MaskEdit1);
  if (expected_.NeedsNewForm()) return TakePassword(maskEdit1, cost_);
  GateStep step;
  step.close = true;
  return step;
}

GateStep LoginPromptGate::Cancel() const {
  GateStep step;
  step.clearMaskEdit1 = true;
  step.requestTermination = true;
  return step;
}

std::optional<GateStep> RefuseShortPassword(const std::wstring& maskEdit1, std::uint32_t minLength) {
  std::optional<std::wstring> text = ShortPasswordText(maskEdit1, minLength);
  if (!text) return std::nullopt;
  GateStep step;
  step.clearMaskEdit1 = true;
  step.clearMaskEdit2 = true;
  step.focus = GateControl::MaskEdit1;
  step.refusal = std::move(text);
  return step;
}

GateStep FirstPasswordGate::Confirm(const std::wstring& maskEdit1, const std::wstring& maskEdit2) const {
  if (std::optional<GateStep> refused = RefuseShortPassword(maskEdit1, minLength_)) return *refused;
  return ConfirmNewPassword(maskEdit1, maskEdit2, cost_);
}

GateStep ChangePasswordGate::Confirm(const std::wstring& maskEdit3, const std::wstring& maskEdit1,
                                     const std::wstring& maskEdit2) {
  removalAsked_ = false;
  // The new entries are not looked at until the current password is right.
  if (!expected_.Matches(maskEdit3)) return WrongAttempt(wrongAttempts_, GateControl::MaskEdit3);
  // The administrator's minimum comes first: it refuses the empty password
  // too, before two empty entries could ask to remove the current one.
  if (std::optional<GateStep> refused = RefuseShortPassword(maskEdit1, minLength_)) return *refused;
  if (JudgeNewEntries(!expected_.Stored().empty(), maskEdit1, maskEdit2) != NewEntries::AskRemoval)
    return ConfirmNewPassword(maskEdit1, maskEdit2, cost_);
  // Two empty entries are the easy way out of the window: they remove the
  // password only once the user said so.
  removalAsked_ = true;
  GateStep step;
  step.askRemoval = true;
  return step;
}

GateStep ChangePasswordGate::RemovalAnswered(bool remove) {
  GateStep step;
  if (!std::exchange(removalAsked_, false)) return step;
  if (remove) return TakePassword(std::wstring(), cost_);
  step.focus = GateControl::MaskEdit1;
  return step;
}

GateStep ChangePasswordGate::Cancel() const {
  GateStep step;
  step.close = true;
  return step;
}

NewEntries JudgeNewEntries(bool passwordSet, const std::wstring& maskEdit1, const std::wstring& maskEdit2) {
  if (!PasswordsEqual(maskEdit2, maskEdit1)) return NewEntries::Differ;
  if (maskEdit1.empty() && passwordSet) return NewEntries::AskRemoval;
  return NewEntries::Take;
}

std::wstring RemovePasswordQuestion(const std::wstring& userName) {
  return L"Supprimer le mot de passe de " + userName + L" ?";
}

std::wstring DamagedPasswordText(const std::wstring& userName) {
  return L"Le mot de passe enregistr\u00E9 pour " + userName +
         L" ne peut pas \u00EAtre lu : la valeur est ab\u00EEm\u00E9e, et aucun texte tap\u00E9 ne l'ouvre. "
         L"Pour le remettre \u00E0 z\u00E9ro, un administrateur supprime la valeur \"" +
         userName + L"\" de HKEY_CURRENT_USER\\" + kSettingsKey +
         L" (dans la session de cet utilisateur) ; Ferlane demandera alors un nouveau mot de passe.";
}

}  // namespace ferlane
