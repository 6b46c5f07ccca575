#include "app/logic/PasswordGate.h"

#include "app/logic/PasswordHash.h"

#include <gtest/gtest.h>

#include "PasswordSamples.h"

namespace ferlane {
namespace {

// A wrong try in an entry: only that entry cleared, focus back in it.
void ExpectWrongTry(const GateStep& step, GateControl entry, bool terminates) {
  EXPECT_FALSE(step.close);
  EXPECT_FALSE(step.newPassword.has_value());
  EXPECT_EQ(step.focus, entry);
  EXPECT_EQ(step.clearMaskEdit1, entry == GateControl::MaskEdit1);
  EXPECT_FALSE(step.clearMaskEdit2);
  EXPECT_EQ(step.clearMaskEdit3, entry == GateControl::MaskEdit3);
  EXPECT_EQ(step.requestTermination, terminates);
}

TEST(LoginPromptGate, ThreeWrongTriesThenTheRightOneOpens) {
  LoginPromptGate gate;
  gate.ResetCounter();
  gate.SetExpected(L"Secret");
  for (int i = 1; i <= 3; ++i) {
    ExpectWrongTry(gate.Confirm(L"secret"), GateControl::MaskEdit1, false);
    EXPECT_EQ(gate.WrongAttempts(), i);
  }
  GateStep ok = gate.Confirm(L"Secret");
  EXPECT_TRUE(ok.close);
  EXPECT_FALSE(ok.requestTermination);
  EXPECT_FALSE(ok.clearMaskEdit1);
  EXPECT_FALSE(ok.newPassword.has_value());  // the login prompt never changes the password
  EXPECT_EQ(gate.WrongAttempts(), 3);
}

TEST(LoginPromptGate, FourthWrongTryRequestsTerminationAndEmptyEntryCounts) {
  LoginPromptGate gate;
  gate.ResetCounter();
  gate.SetExpected(L"pw");
  ExpectWrongTry(gate.Confirm(L""), GateControl::MaskEdit1, false);
  ExpectWrongTry(gate.Confirm(L"pw "), GateControl::MaskEdit1, false);  // no trimming
  ExpectWrongTry(gate.Confirm(L" pw"), GateControl::MaskEdit1, false);
  ExpectWrongTry(gate.Confirm(L"PW"), GateControl::MaskEdit1, true);
  EXPECT_EQ(gate.WrongAttempts(), 4);
}

TEST(LoginPromptGate, CounterSurvivesNewExpectedTextAndOnlyCreationResetsIt) {
  LoginPromptGate gate;
  gate.ResetCounter();
  gate.SetExpected(L"a");
  gate.Confirm(L"b");
  gate.Confirm(L"b");
  gate.SetExpected(L"c");  // shown again: still the same run
  EXPECT_EQ(gate.WrongAttempts(), 2);
  gate.Confirm(L"b");
  EXPECT_TRUE(gate.Confirm(L"b").requestTermination);
  gate.ResetCounter();
  EXPECT_EQ(gate.WrongAttempts(), 0);
}

TEST(LoginPromptGate, TypingTheExactPasswordMovesFocusToTheButton) {
  LoginPromptGate gate;
  gate.SetExpected(L"Mot\u00e9");
  EXPECT_EQ(gate.FocusOnShow(), GateControl::MaskEdit1);
  EXPECT_EQ(gate.EntryChanged(L"M").focus, GateControl::None);
  EXPECT_EQ(gate.EntryChanged(L"Mot").focus, GateControl::None);
  EXPECT_EQ(gate.EntryChanged(L"Mote").focus, GateControl::None);       // accents count
  EXPECT_EQ(gate.EntryChanged(L"MOT\u00c9").focus, GateControl::None);  // case counts
  EXPECT_EQ(gate.EntryChanged(L"Mot\u00e9").focus, GateControl::Button1);
  EXPECT_EQ(gate.EntryChanged(L"Mot\u00e9x").focus, GateControl::None);
  // Typing never counts as a try.
  EXPECT_EQ(gate.WrongAttempts(), 0);
  GateStep step = gate.EntryChanged(L"Mot\u00e9");
  EXPECT_FALSE(step.close || step.requestTermination || step.clearMaskEdit1);
}

TEST(FirstPasswordGate, MatchingEntriesSetThePasswordElseBothAreCleared) {
  FirstPasswordGate gate;
  EXPECT_EQ(gate.FocusOnShow(), GateControl::MaskEdit1);
  GateStep ok = gate.Confirm(L"N\u00f6el 1", L"N\u00f6el 1");
  EXPECT_TRUE(ok.close);
  ASSERT_TRUE(ok.newPassword.has_value());
  EXPECT_EQ(*ok.newPassword, L"N\u00f6el 1");

  for (int i = 0; i < 10; ++i) {  // no counter, no limit
    GateStep bad = gate.Confirm(L"abc", L"ABC");
    EXPECT_FALSE(bad.close);
    EXPECT_FALSE(bad.requestTermination);
    EXPECT_FALSE(bad.newPassword.has_value());
    EXPECT_TRUE(bad.clearMaskEdit1);
    EXPECT_TRUE(bad.clearMaskEdit2);
    EXPECT_FALSE(bad.clearMaskEdit3);
    EXPECT_EQ(bad.focus, GateControl::MaskEdit1);
  }
  EXPECT_FALSE(gate.Confirm(L"abc", L"abc ").close);
  EXPECT_FALSE(gate.Confirm(L"", L"x").close);
}

TEST(FirstPasswordGate, TwoEmptyEntriesCloseWithAnEmptyPassword) {
  FirstPasswordGate gate;
  GateStep step = gate.Confirm(L"", L"");
  EXPECT_TRUE(step.close);
  ASSERT_TRUE(step.newPassword.has_value());
  EXPECT_EQ(*step.newPassword, L"");
}

TEST(ChangePasswordGate, RightCurrentAndMatchingNewEntriesChangeThePassword) {
  ChangePasswordGate gate;
  gate.ResetCounter();
  gate.SetExpected(L"old");
  EXPECT_EQ(gate.FocusOnShow(), GateControl::MaskEdit3);
  GateStep step = gate.Confirm(L"old", L"New", L"New");
  EXPECT_TRUE(step.close);
  EXPECT_FALSE(step.requestTermination);
  ASSERT_TRUE(step.newPassword.has_value());
  EXPECT_EQ(*step.newPassword, L"New");
  EXPECT_FALSE(step.clearMaskEdit1 || step.clearMaskEdit2 || step.clearMaskEdit3);
}

TEST(ChangePasswordGate, DifferentNewEntriesAreClearedWithoutCounting) {
  ChangePasswordGate gate;
  gate.ResetCounter();
  gate.SetExpected(L"old");
  for (int i = 0; i < 6; ++i) {
    GateStep step = gate.Confirm(L"old", L"new", L"neW");
    EXPECT_FALSE(step.close);
    EXPECT_FALSE(step.requestTermination);
    EXPECT_TRUE(step.clearMaskEdit1);
    EXPECT_TRUE(step.clearMaskEdit2);
    EXPECT_FALSE(step.clearMaskEdit3);  // the right current password stays typed
    EXPECT_EQ(step.focus, GateControl::MaskEdit1);
  }
  EXPECT_EQ(gate.WrongAttempts(), 0);
}

TEST(ChangePasswordGate, WrongCurrentPasswordIgnoresTheNewEntries) {
  ChangePasswordGate gate;
  gate.ResetCounter();
  gate.SetExpected(L"old");
  // Even matching new entries do not help, and different ones are not cleared.
  ExpectWrongTry(gate.Confirm(L"Old", L"x", L"x"), GateControl::MaskEdit3, false);
  ExpectWrongTry(gate.Confirm(L"", L"x", L"y"), GateControl::MaskEdit3, false);
  EXPECT_EQ(gate.WrongAttempts(), 2);
}

TEST(ChangePasswordGate, WrongTriesAddUpOverShowingsOfOneRun) {
  ChangePasswordGate gate;
  gate.ResetCounter();
  gate.SetExpected(L"p1");
  ExpectWrongTry(gate.Confirm(L"a", L"", L""), GateControl::MaskEdit3, false);
  ExpectWrongTry(gate.Confirm(L"b", L"", L""), GateControl::MaskEdit3, false);
  EXPECT_TRUE(gate.Confirm(L"p1", L"p2", L"p2").close);
  // Shown again later with the new password: two more wrong tries end the run.
  gate.SetExpected(L"p2");
  ExpectWrongTry(gate.Confirm(L"p1", L"", L""), GateControl::MaskEdit3, false);
  ExpectWrongTry(gate.Confirm(L"p1", L"", L""), GateControl::MaskEdit3, true);
  EXPECT_EQ(gate.WrongAttempts(), 4);
}

TEST(ChangePasswordGate, EmptyCurrentPasswordIsAcceptedWhenNoneIsSet) {
  ChangePasswordGate gate;
  gate.ResetCounter();
  gate.SetExpected(L"");
  GateStep step = gate.Confirm(L"", L"first", L"first");
  EXPECT_TRUE(step.close);
  ASSERT_TRUE(step.newPassword.has_value());
  EXPECT_EQ(*step.newPassword, L"first");
  // Something typed where nothing is expected is a wrong try.
  ExpectWrongTry(gate.Confirm(L" ", L"first", L"first"), GateControl::MaskEdit3, false);
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

TEST(StoredPasswordGate, AHashedPasswordIsCheckedByItsHashAndTypingWaitsForAPause) {
  LoginPromptGate login;
  login.SetExpected(L"Plain");
  EXPECT_FALSE(login.SlowCompare());  // the old plain form: compared at every key
  login.SetExpected(HashPassword(L"S\u00E9same", kCheapestPasswordCost).value());
  EXPECT_TRUE(login.SlowCompare());
  EXPECT_EQ(login.EntryChanged(L"S\u00E9sam").focus, GateControl::None);
  EXPECT_EQ(login.EntryChanged(L"S\u00E9same").focus, GateControl::Button1);
  EXPECT_TRUE(login.Confirm(L"S\u00E9same").close);
  EXPECT_FALSE(login.Confirm(L"s\u00E9same").close);
  EXPECT_EQ(login.WrongAttempts(), 1);

  ChangePasswordGate change;
  change.SetExpected(HashPassword(L"old", kCheapestPasswordCost).value());
  EXPECT_EQ(change.Confirm(L"Old", L"n", L"n").focus, GateControl::MaskEdit3);
  GateStep step = change.Confirm(L"old", L"new", L"new");
  EXPECT_TRUE(step.close);
  EXPECT_EQ(step.newPassword, L"new");
}

TEST(StoredPasswordGate, APasswordStoredInAnOlderFormComesBackTypedToBeStoredAnew) {
  LoginPromptGate login;
  login.SetExpected(samples::kPbkdf2Sesame);
  EXPECT_TRUE(login.SlowCompare());
  EXPECT_FALSE(login.Confirm(L"S\u00E9samf").newPassword);
  GateStep step = login.Confirm(L"S\u00E9same");
  EXPECT_TRUE(step.close);
  EXPECT_EQ(step.newPassword, L"S\u00E9same");
  // The old plain form is hashed at close without the typed text; today's
  // form stays as it is stored.
  login.SetExpected(L"Plain");
  EXPECT_FALSE(login.Confirm(L"Plain").newPassword);
  login.SetExpected(HashPassword(L"S\u00E9same", kCheapestPasswordCost).value());
  step = login.Confirm(L"S\u00E9same");
  EXPECT_TRUE(step.close);
  EXPECT_FALSE(step.newPassword);
}

}  // namespace
}  // namespace ferlane
