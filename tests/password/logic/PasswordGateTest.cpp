#include "password/logic/PasswordGate.h"

#include "password/logic/PasswordHash.h"

#include <gtest/gtest.h>

#include "PasswordSamples.h"

namespace ferlane {
namespace {

// A password taken: its hash, never the typed text.
void ExpectTaken(const GateStep& step, const std::wstring& typed) {
  EXPECT_TRUE(step.close);
  ASSERT_TRUE(step.newPassword.has_value());
  EXPECT_NE(*step.newPassword, typed);
  EXPECT_TRUE(StoredPasswordMatches(*step.newPassword, typed));
}

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
  LoginPromptGate gate(kCheapestPasswordCost);
  gate.ResetCounter();
  gate.SetExpected(L"Secret");
  for (int i = 1; i <= 3; ++i) {
    ExpectWrongTry(gate.Confirm(L"secret"), GateControl::MaskEdit1, false);
    EXPECT_EQ(gate.WrongAttempts(), i);
  }
  GateStep ok = gate.Confirm(L"Secret");
  EXPECT_FALSE(ok.requestTermination);
  EXPECT_FALSE(ok.clearMaskEdit1);
  ExpectTaken(ok, L"Secret");  // the old plain form comes back hashed
  EXPECT_EQ(gate.WrongAttempts(), 3);
}

TEST(LoginPromptGate, FourthWrongTryRequestsTerminationAndEmptyEntryCounts) {
  LoginPromptGate gate(kCheapestPasswordCost);
  gate.ResetCounter();
  gate.SetExpected(L"pw");
  ExpectWrongTry(gate.Confirm(L""), GateControl::MaskEdit1, false);
  ExpectWrongTry(gate.Confirm(L"pw "), GateControl::MaskEdit1, false);  // no trimming
  ExpectWrongTry(gate.Confirm(L" pw"), GateControl::MaskEdit1, false);
  ExpectWrongTry(gate.Confirm(L"PW"), GateControl::MaskEdit1, true);
  EXPECT_EQ(gate.WrongAttempts(), 4);
}

TEST(LoginPromptGate, CounterSurvivesNewExpectedTextAndOnlyCreationResetsIt) {
  LoginPromptGate gate(kCheapestPasswordCost);
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
  LoginPromptGate gate(kCheapestPasswordCost);
  gate.SetExpected(L"Mot\u00e9");
  EXPECT_EQ(gate.FocusOnShow(), GateControl::MaskEdit1);
  for (const wchar_t* typed : {L"M", L"Mot", L"Mote", L"MOT\u00c9", L"Mot\u00e9x"})  // accents and case count
    EXPECT_EQ(gate.EntryChecked(gate.Matches(typed)).focus, GateControl::None) << typed;
  GateStep step = gate.EntryChecked(gate.Matches(L"Mot\u00e9"));
  EXPECT_EQ(step.focus, GateControl::Button1);
  // Typing never counts as a try.
  EXPECT_EQ(gate.WrongAttempts(), 0);
  EXPECT_FALSE(step.close || step.requestTermination || step.clearMaskEdit1);
}

TEST(FirstPasswordGate, MatchingEntriesSetThePasswordElseBothAreCleared) {
  FirstPasswordGate gate(kCheapestPasswordCost);
  EXPECT_EQ(gate.FocusOnShow(), GateControl::MaskEdit1);
  ExpectTaken(gate.Confirm(L"N\u00f6el 1", L"N\u00f6el 1"), L"N\u00f6el 1");

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
  FirstPasswordGate gate(kCheapestPasswordCost);
  GateStep step = gate.Confirm(L"", L"");
  EXPECT_TRUE(step.close);
  ASSERT_TRUE(step.newPassword.has_value());
  EXPECT_EQ(*step.newPassword, L"");
}

// The administrator's minimum length, in both windows that choose a
// password: a shorter one (the empty one too) is refused with its line and
// both new entries cleared; the current password is checked first.
TEST(MinimumPasswordLength, AShorterNewPasswordIsRefusedInBothWindowsAfterTheCurrentOne) {
  FirstPasswordGate first(kCheapestPasswordCost);
  first.SetMinLength(8);
  ChangePasswordGate change(kCheapestPasswordCost);
  change.ResetCounter();
  change.SetExpected(L"old");
  change.SetMinLength(8);
  for (const wchar_t* shortOne : {L"abc", L"", L"abcdefg"}) {
    for (const GateStep& step : {first.Confirm(shortOne, shortOne), change.Confirm(L"old", shortOne, shortOne)}) {
      EXPECT_FALSE(step.close) << shortOne;
      EXPECT_FALSE(step.newPassword.has_value());
      ASSERT_TRUE(step.refusal.has_value());
      EXPECT_NE(step.refusal->find(L"8"), std::wstring::npos);
      EXPECT_TRUE(step.clearMaskEdit1 && step.clearMaskEdit2);
      EXPECT_FALSE(step.clearMaskEdit3);
      EXPECT_EQ(step.focus, GateControl::MaskEdit1);
    }
  }
  ExpectWrongTry(change.Confirm(L"Old", L"abc", L"abc"), GateControl::MaskEdit3, false);
  EXPECT_EQ(change.WrongAttempts(), 1);
  ExpectTaken(first.Confirm(L"abcdefgh", L"abcdefgh"), L"abcdefgh");
  ExpectTaken(change.Confirm(L"old", L"abcdefgh", L"abcdefgh"), L"abcdefgh");
  EXPECT_FALSE(change.Confirm(L"old", L"abcdefgh", L"abcdefgX").refusal.has_value());
}

TEST(ChangePasswordGate, RightCurrentAndMatchingNewEntriesChangeThePassword) {
  ChangePasswordGate gate(kCheapestPasswordCost);
  gate.ResetCounter();
  gate.SetExpected(L"old");
  EXPECT_EQ(gate.FocusOnShow(), GateControl::MaskEdit3);
  GateStep step = gate.Confirm(L"old", L"New", L"New");
  EXPECT_FALSE(step.requestTermination);
  ExpectTaken(step, L"New");
  EXPECT_FALSE(step.clearMaskEdit1 || step.clearMaskEdit2 || step.clearMaskEdit3);
}

TEST(ChangePasswordGate, DifferentNewEntriesAreClearedWithoutCounting) {
  ChangePasswordGate gate(kCheapestPasswordCost);
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
  ChangePasswordGate gate(kCheapestPasswordCost);
  gate.ResetCounter();
  gate.SetExpected(L"old");
  // Even matching new entries do not help, and different ones are not cleared.
  ExpectWrongTry(gate.Confirm(L"Old", L"x", L"x"), GateControl::MaskEdit3, false);
  ExpectWrongTry(gate.Confirm(L"", L"x", L"y"), GateControl::MaskEdit3, false);
  EXPECT_EQ(gate.WrongAttempts(), 2);
}

TEST(ChangePasswordGate, WrongTriesAddUpOverShowingsOfOneRun) {
  ChangePasswordGate gate(kCheapestPasswordCost);
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

// What "&OK" does with the two new entries once the current password is right.
TEST(ChangePasswordGate, NewEntriesAreJudgedBeforeAnythingIsTaken) {
  struct Case {
    bool passwordSet;
    const wchar_t* maskEdit1;
    const wchar_t* maskEdit2;
    NewEntries expected;
  };
  const Case cases[] = {
      {true, L"", L"", NewEntries::AskRemoval},  // the way out that removed the password unasked
      {false, L"", L"", NewEntries::Take},       // nothing set, nothing to remove
      {true, L"neu", L"neu", NewEntries::Take},
      {true, L" ", L"", NewEntries::Differ},  // a blank is a character
      {true, L"Neu", L"neu", NewEntries::Differ},
  };
  for (const Case& c : cases)
    EXPECT_EQ(JudgeNewEntries(c.passwordSet, c.maskEdit1, c.maskEdit2), c.expected)
        << c.passwordSet << " [" << testing::PrintToString(std::wstring(c.maskEdit1)) << "] ["
        << testing::PrintToString(std::wstring(c.maskEdit2)) << "]";
}

TEST(ChangePasswordGate, EmptyNewEntriesRemoveThePasswordOnlyOnceTheUserSaidYes) {
  ChangePasswordGate gate(kCheapestPasswordCost);
  gate.ResetCounter();
  gate.SetExpected(L"old");
  GateStep asked = gate.Confirm(L"old", L"", L"");
  EXPECT_TRUE(asked.askRemoval);
  EXPECT_FALSE(asked.close || asked.newPassword || asked.clearMaskEdit1 || asked.clearMaskEdit3);
  // No: back to the window as it was.
  GateStep no = gate.RemovalAnswered(false);
  EXPECT_FALSE(no.close || no.newPassword || no.clearMaskEdit1 || no.clearMaskEdit2 || no.clearMaskEdit3);
  EXPECT_EQ(no.focus, GateControl::MaskEdit1);
  // An answer with no question pending changes nothing.
  EXPECT_FALSE(gate.RemovalAnswered(true).close);
  ASSERT_TRUE(gate.Confirm(L"old", L"", L"").askRemoval);
  GateStep yes = gate.RemovalAnswered(true);
  EXPECT_TRUE(yes.close);
  ASSERT_TRUE(yes.newPassword.has_value());
  EXPECT_EQ(*yes.newPassword, L"");
  // A wrong current password never reaches the question, and forgets one asked.
  ASSERT_TRUE(gate.Confirm(L"old", L"", L"").askRemoval);
  ExpectWrongTry(gate.Confirm(L"nope", L"", L""), GateControl::MaskEdit3, false);
  EXPECT_FALSE(gate.RemovalAnswered(true).close);
  EXPECT_EQ(gate.WrongAttempts(), 1);
}

TEST(ChangePasswordGate, EmptyCurrentPasswordIsAcceptedWhenNoneIsSet) {
  ChangePasswordGate gate(kCheapestPasswordCost);
  gate.ResetCounter();
  gate.SetExpected(L"");
  ExpectTaken(gate.Confirm(L"", L"first", L"first"), L"first");
  // Something typed where nothing is expected is a wrong try.
  ExpectWrongTry(gate.Confirm(L" ", L"first", L"first"), GateControl::MaskEdit3, false);
}

}  // namespace
}  // namespace ferlane

namespace ferlane {
namespace {

TEST(StoredPasswordGate, OnlyAPasswordStoredInAnEarlierFormComesBackHashedAnew) {
  const std::wstring today = HashPassword(L"S\u00E9same", kCheapestPasswordCost).value();
  struct Case {
    std::wstring stored;
    bool slow, storedAnew;
  } cases[] = {{L"S\u00E9same", false, true}, {samples::kPbkdf2Sesame, true, true}, {today, true, false}};
  for (const Case& c : cases) {
    LoginPromptGate login(kCheapestPasswordCost);
    login.SetExpected(c.stored);
    EXPECT_EQ(login.SlowCompare(), c.slow);
    EXPECT_FALSE(login.Confirm(L"S\u00E9samf").close);
    // Known right from the typing check: not checked again.
    EXPECT_TRUE(login.Confirm(L"anything", true).close);
    GateStep step = login.Confirm(L"S\u00E9same");
    if (c.storedAnew) ExpectTaken(step, L"S\u00E9same");
    else EXPECT_TRUE(step.close && !step.newPassword);
  }
  // The change window checks the current password by its hash.
  ChangePasswordGate change(kCheapestPasswordCost);
  change.SetExpected(today);
  EXPECT_EQ(change.Confirm(L"s\u00E9same", L"n", L"n").focus, GateControl::MaskEdit3);
  ExpectTaken(change.Confirm(L"S\u00E9same", L"new", L"new"), L"new");
}

TEST(StoredPasswordGate, AHashThatCannotBeMadeLeavesThePasswordAsItWas) {
  FirstPasswordGate first(PasswordCost{0, 8});  // a cost libsodium refuses
  const GateStep step = first.Confirm(L"abc", L"abc");
  EXPECT_TRUE(step.close);
  EXPECT_TRUE(step.hashRefused);
  EXPECT_FALSE(step.newPassword);
  // No password needs no hash.
  EXPECT_EQ(first.Confirm(L"", L"").newPassword, L"");
}

}  // namespace
}  // namespace ferlane
