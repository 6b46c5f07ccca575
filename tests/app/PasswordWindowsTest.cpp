#include "app/PasswordWindows.h"

#include "password/logic/PasswordHash.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Termination.h"
#include "platform/UniqueHandle.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

std::wstring Text(HWND h) { return PasswordDialog::SecretOf(h).get(); }

SIZE ClientSize(HWND h) {
  RECT rc{};
  ::GetClientRect(h, &rc);
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

LOGFONTW FontOf(HWND h) {
  LOGFONTW lf{};
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0));
  EXPECT_NE(font, nullptr);
  if (font) ::GetObjectW(font, sizeof(lf), &lf);
  return lf;
}

void SetText(HWND h, const std::wstring& text) {
  ::SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Types text into an entry one character at a time, as the keyboard would.
void Type(HWND entry, const std::wstring& text) {
  for (wchar_t c : text) ::SendMessageW(entry, WM_CHAR, c, 1);
}

// Presses "&OK" the way the button notifies its window.
void Click(HWND window, HWND button) {
  ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(kIdButton1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// A key pressed while the modal loop runs, through the dialog manager.
void PostKey(HWND target, UINT vk) {
  ::PostMessageW(target, WM_KEYDOWN, vk, 1);
  ::PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
}

bool HasChildWithText(HWND window, const wchar_t* text) {
  return ::FindWindowExW(window, nullptr, L"STATIC", text) != nullptr;
}

// The frame every password window has: exact caption and client size,
// caption bar with a close box only where the window has a way out, fixed
// dialog border, hidden.
void ExpectDialogFrame(HWND h, const wchar_t* caption, int width, int height, bool closeBox) {
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Text(h), caption);
  SIZE client = ClientSize(h);
  EXPECT_EQ(client.cx, width);
  EXPECT_EQ(client.cy, height);
  const LONG style = ::GetWindowLongW(h, GWL_STYLE);
  const LONG exStyle = ::GetWindowLongW(h, GWL_EXSTYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_EQ((style & WS_SYSMENU) != 0, closeBox);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(::IsWindowVisible(h));
}

// "MS Sans Serif" 8 point, the user name in bold.
void ExpectFonts(HWND label, HWND entry) {
  LOGFONTW bold = FontOf(label);
  LOGFONTW normal = FontOf(entry);
  HDC screen = ::GetDC(nullptr);
  const int height = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  EXPECT_STREQ(normal.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(normal.lfHeight, height);
  EXPECT_LT(normal.lfWeight, FW_BOLD);
  EXPECT_STREQ(bold.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(bold.lfHeight, height);
  EXPECT_GE(bold.lfWeight, FW_BOLD);
}

// A masked entry: '*' for every character, no length limit worth the name.
void ExpectMaskedEntry(HWND entry) {
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(::GetWindowLongW(entry, GWL_STYLE) & ES_PASSWORD);
  EXPECT_TRUE(::GetWindowLongW(entry, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(::SendMessageW(entry, EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_GE(static_cast<unsigned long>(::SendMessageW(entry, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEul);
  const std::wstring longText(40000, L'x');
  SetText(entry, longText);
  EXPECT_EQ(Text(entry).size(), longText.size());
  SetText(entry, L"");
}

// Runs test steps inside a modal loop, one per timer tick. When the steps are
// spent and the window is still up, it requests termination so that a broken
// window fails the test instead of hanging the run.
class ModalScript {
 public:
  explicit ModalScript(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 15, &ModalScript::Tick);
  }
  ~ModalScript() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  size_t StepsRun() const { return next_; }
  bool GaveUp() const { return gaveUp_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* self = current_;
    if (!self) return;
    if (self->next_ < self->steps_.size()) {
      self->steps_[self->next_++]();
    } else if (++self->idle_ > 100 && !self->gaveUp_) {
      self->gaveUp_ = true;
      ADD_FAILURE() << "the modal window stayed open after the last step";
      RequestTermination();
    }
  }
  static inline ModalScript* current_ = nullptr;
  std::vector<std::function<void()>> steps_;
  size_t next_ = 0;
  int idle_ = 0;
  bool gaveUp_ = false;
  UINT_PTR timer_ = 0;
};

class PasswordWindowsTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTermination();
    owner_.reset(::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_CAPTION, 100, 80, 623, 519, nullptr,
                                   nullptr, Instance(), nullptr));
    ASSERT_TRUE(owner_);
  }
  void TearDown() override {
    test::PumpMessages();
    ResetTermination();
    // The gate never talks through message boxes: the cleared entry is the only feedback.
    EXPECT_TRUE(messages_.shown.empty());
  }
  HWND owner() const { return owner_.get(); }

  // Expects the window centred on the owner's bounds.
  void ExpectCentredOnOwner(HWND h) {
    RECT o{}, w{};
    ::GetWindowRect(owner(), &o);
    ::GetWindowRect(h, &w);
    EXPECT_EQ(w.left, o.left + ((o.right - o.left) - (w.right - w.left)) / 2);
    EXPECT_EQ(w.top, o.top + ((o.bottom - o.top) - (w.bottom - w.top)) / 2);
  }

  test::RecordingMessages messages_;
  UniqueHwnd owner_;
};

// ---- TPasse ------------------------------------------------------------------

TEST_F(PasswordWindowsTest, LoginPromptLayoutTabOrderAndFonts) {
  TPasse passe;
  ASSERT_TRUE(passe.Create(Instance()));
  ExpectDialogFrame(passe.hwnd(), L"Ferlane: Mot de Passe:", 176, 75, true);
  EXPECT_TRUE(HasChildWithText(passe.hwnd(), L"Saisissez votre mot de passe:"));
  EXPECT_EQ(Text(passe.Button1()), L"&OK");
  ExpectMaskedEntry(passe.MaskEdit1());
  ExpectFonts(passe.Label2(), passe.MaskEdit1());
  // Tab order: the button first, then the entry.
  EXPECT_EQ(::GetNextDlgTabItem(passe.hwnd(), nullptr, FALSE), passe.Button1());
  EXPECT_EQ(::GetNextDlgTabItem(passe.hwnd(), passe.Button1(), FALSE), passe.MaskEdit1());
  EXPECT_EQ(::GetNextDlgTabItem(passe.hwnd(), passe.MaskEdit1(), FALSE), passe.Button1());
  // The entry sits to the left of the button.
  RECT entry{}, button{};
  ::GetWindowRect(passe.MaskEdit1(), &entry);
  ::GetWindowRect(passe.Button1(), &button);
  EXPECT_LE(entry.right, button.left);
  EXPECT_EQ(passe.WrongAttempts(), 0);
}

TEST_F(PasswordWindowsTest, LoginPromptFocusMovesToTheButtonWhenTheTextMatches) {
  TPasse passe;
  ASSERT_TRUE(passe.Create(Instance()));
  bool sawFocus = false;
  ModalScript script({
      [&] {
        sawFocus = true;
        EXPECT_TRUE(::IsWindowVisible(passe.hwnd()));
        EXPECT_EQ(::GetFocus(), passe.MaskEdit1());
        EXPECT_EQ(Text(passe.Label2()), L"Ren\u00e9 & co");
        Type(passe.MaskEdit1(), L"Abc");
        EXPECT_EQ(::GetFocus(), passe.MaskEdit1());  // a prefix only
        Type(passe.MaskEdit1(), L"d");
        EXPECT_EQ(::GetFocus(), passe.Button1());  // at the last character
        EXPECT_EQ(passe.WrongAttempts(), 0);       // typing is no try
      },
      // Enter on the focused "&OK" confirms, as on any focused button.
      [&] { PostKey(passe.Button1(), VK_RETURN); },
  });
  EXPECT_TRUE(passe.ShowModal(owner(), L"Ren\u00e9 & co", L"Abcd"));
  EXPECT_TRUE(sawFocus);
  EXPECT_FALSE(script.GaveUp());
  EXPECT_FALSE(::IsWindowVisible(passe.hwnd()));
  EXPECT_TRUE(::IsWindowEnabled(owner()));
  EXPECT_FALSE(TerminationRequested());
}

TEST_F(PasswordWindowsTest, LoginPromptAgainstAHashComparesAfterAPauseInTypingAndKeepsAnswering) {
  TPasse passe;
  ASSERT_TRUE(passe.Create(Instance()));
  // A hash heavy enough to take far longer than a tick of the script.
  const std::wstring stored = HashPassword(L"Cl\u00E9", PasswordCost{4, 128 * 1024}).value();
  DWORD typedAt = 0;
  bool answeredWhileChecking = false;
  std::vector<std::function<void()>> steps{[&] {
    Type(passe.MaskEdit1(), L"Cl\u00E9");
    typedAt = ::GetTickCount();
    EXPECT_EQ(::GetFocus(), passe.MaskEdit1());  // not compared while typing
  }};
  // Tick by tick: the window runs this script while the check runs, until
  // the check moves the focus.
  for (int i = 0; i < 400; ++i)
    steps.push_back([&] {
      if (!typedAt) return;
      const DWORD since = ::GetTickCount() - typedAt;
      if (::GetFocus() == passe.MaskEdit1() && since > TPasse::kTypingPauseMs + 150) answeredWhileChecking = true;
      if (::GetFocus() == passe.Button1()) {
        EXPECT_GE(since, TPasse::kTypingPauseMs - 20);
        typedAt = 0;
        PostKey(passe.Button1(), VK_RETURN);
      }
    });
  ModalScript script(steps);
  EXPECT_TRUE(passe.ShowModal(owner(), L"user", stored));
  EXPECT_EQ(typedAt, 0u) << "the focus never reached the button";
  EXPECT_TRUE(answeredWhileChecking);
  EXPECT_EQ(passe.WrongAttempts(), 0);
  EXPECT_EQ(Text(passe.MaskEdit1()), L"");  // the typed text is not kept
}

TEST_F(PasswordWindowsTest, LoginPromptThreeWrongTriesThenTheRightOneOpens) {
  TPasse passe;
  ASSERT_TRUE(passe.Create(Instance()));
  std::vector<std::function<void()>> steps;
  for (int i = 1; i <= 3; ++i) {
    steps.push_back([&, i] {
      EXPECT_FALSE(::IsWindowEnabled(owner()));  // modal over its owner
      ExpectCentredOnOwner(passe.hwnd());
      SetText(passe.MaskEdit1(), i == 1 ? L"" : L"secret");  // empty or wrong case
      Click(passe.hwnd(), passe.Button1());
      EXPECT_EQ(Text(passe.MaskEdit1()), L"");
      EXPECT_EQ(::GetFocus(), passe.MaskEdit1());
      EXPECT_EQ(passe.WrongAttempts(), i);
      EXPECT_TRUE(::IsWindowVisible(passe.hwnd()));
      EXPECT_FALSE(TerminationRequested());
    });
  }
  steps.push_back([&] {
    SetText(passe.MaskEdit1(), L"Secret");
    Click(passe.hwnd(), passe.Button1());
  });
  ModalScript script(steps);
  EXPECT_TRUE(passe.ShowModal(owner(), L"user", L"Secret"));
  EXPECT_EQ(script.StepsRun(), 4u);
  EXPECT_FALSE(TerminationRequested());
  EXPECT_EQ(passe.WrongAttempts(), 3);
  EXPECT_FALSE(::IsWindowVisible(passe.hwnd()));
  // Hidden, not destroyed.
  EXPECT_TRUE(::IsWindow(passe.hwnd()));
}

TEST_F(PasswordWindowsTest, LoginPromptFourthWrongTryEndsTheLoopAndRequestsTermination) {
  TPasse passe;
  ASSERT_TRUE(passe.Create(Instance()));
  std::vector<std::function<void()>> steps;
  for (int i = 0; i < 4; ++i) {
    steps.push_back([&] {
      SetText(passe.MaskEdit1(), L"nope");
      Click(passe.hwnd(), passe.Button1());
    });
  }
  steps.push_back([&] { ADD_FAILURE() << "the window stayed open after the fourth wrong try"; });
  ModalScript script(steps);
  EXPECT_FALSE(passe.ShowModal(owner(), L"user", L"right"));
  EXPECT_TRUE(TerminationRequested());
  EXPECT_EQ(script.StepsRun(), 4u);
  EXPECT_EQ(passe.WrongAttempts(), 4);
  EXPECT_FALSE(::IsWindowVisible(passe.hwnd()));
  EXPECT_TRUE(::IsWindowEnabled(owner()));
}

TEST_F(PasswordWindowsTest, EnterDoesNotConfirmAndTheFirstPasswordWindowHasNoWayOut) {
  Tsaisie saisie;
  ASSERT_TRUE(saisie.Create(Instance()));
  std::wstring current = L"before";
  ModalScript script({
      [&] {
        SetText(saisie.MaskEdit1(), L"a");
        SetText(saisie.MaskEdit2(), L"a");
        PostKey(saisie.MaskEdit1(), VK_RETURN);
        PostKey(saisie.MaskEdit1(), VK_ESCAPE);
        ::PostMessageW(saisie.hwnd(), WM_CLOSE, 0, 0);
        ::PostMessageW(saisie.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
      },
      [&] {
        EXPECT_TRUE(::IsWindowVisible(saisie.hwnd()));
        EXPECT_EQ(Text(saisie.MaskEdit1()), L"a");  // Enter in the entry is not "&OK"
        EXPECT_EQ(current, L"before");
        // Tab moves between the controls like in any dialog.
        PostKey(saisie.MaskEdit1(), VK_TAB);
      },
      [&] {
        EXPECT_EQ(::GetFocus(), saisie.MaskEdit2());
        Click(saisie.hwnd(), saisie.Button1());
      },
  });
  EXPECT_TRUE(saisie.ShowModal(owner(), L"user", current));
  EXPECT_EQ(script.StepsRun(), 3u);
  EXPECT_TRUE(StoredPasswordMatches(current, L"a"));
}

TEST_F(PasswordWindowsTest, TerminationRequestEndsTheLoopAtOnceAndComesBeforeShowing) {
  TPasse passe;
  ASSERT_TRUE(passe.Create(Instance()));
  {
    ModalScript script({[] { RequestTermination(); },
                        [] { ADD_FAILURE() << "the loop went on after the termination request"; }});
    EXPECT_FALSE(passe.ShowModal(owner(), L"user", L"pw"));
    EXPECT_EQ(script.StepsRun(), 1u);
    EXPECT_FALSE(::IsWindowVisible(passe.hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(owner()));
  }
  // Already requested: the window does not wait for input at all.
  ModalScript script({[] { ADD_FAILURE() << "shown although termination was requested"; }});
  EXPECT_FALSE(passe.ShowModal(owner(), L"user", L"pw"));
  EXPECT_EQ(script.StepsRun(), 0u);
  EXPECT_FALSE(::IsWindowVisible(passe.hwnd()));
}

TEST_F(PasswordWindowsTest, QuitMessageDuringTheLoginIsNoConfirmation) {
  TPasse passe;
  ASSERT_TRUE(passe.Create(Instance()));
  ModalScript script({[] { ::PostQuitMessage(0); }});
  EXPECT_FALSE(passe.ShowModal(owner(), L"user", L"pw"));
  // The quit message is handed on to the outer loop.
  MSG msg;
  EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(PasswordWindowsTest, LoginPromptStaysOnTheScreenWhenTheOwnerIsOffIt) {
  ::SetWindowPos(owner(), nullptr, -2000, -1500, 623, 519, SWP_NOZORDER | SWP_NOACTIVATE);
  TPasse passe;
  ASSERT_TRUE(passe.Create(Instance()));
  RECT seen{};
  ModalScript script({[&] {
    ::GetWindowRect(passe.hwnd(), &seen);
    SetText(passe.MaskEdit1(), L"pw");
    Click(passe.hwnd(), passe.Button1());
  }});
  EXPECT_TRUE(passe.ShowModal(owner(), L"user", L"pw"));
  EXPECT_GE(seen.left, 0);
  EXPECT_GE(seen.top, 0);
  EXPECT_LE(seen.right, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LE(seen.bottom, ::GetSystemMetrics(SM_CYSCREEN));
}

// ---- Tsaisie -----------------------------------------------------------------

TEST_F(PasswordWindowsTest, FirstPasswordWindowLayoutAndTabOrder) {
  Tsaisie saisie;
  ASSERT_TRUE(saisie.Create(Instance()));
  ExpectDialogFrame(saisie.hwnd(), L"Ferlane: Saisie du mot de passe", 169, 144, false);
  EXPECT_TRUE(HasChildWithText(saisie.hwnd(), L"Tapez votre mot de passe:"));
  EXPECT_TRUE(HasChildWithText(saisie.hwnd(), L"Confirmez votre mot de passe"));
  EXPECT_EQ(Text(saisie.Button1()), L"&OK");
  ExpectMaskedEntry(saisie.MaskEdit1());
  ExpectMaskedEntry(saisie.MaskEdit2());
  ExpectFonts(saisie.Label1(), saisie.MaskEdit2());
  EXPECT_EQ(::GetNextDlgTabItem(saisie.hwnd(), nullptr, FALSE), saisie.MaskEdit1());
  EXPECT_EQ(::GetNextDlgTabItem(saisie.hwnd(), saisie.MaskEdit1(), FALSE), saisie.MaskEdit2());
  EXPECT_EQ(::GetNextDlgTabItem(saisie.hwnd(), saisie.MaskEdit2(), FALSE), saisie.Button1());
  EXPECT_EQ(::GetNextDlgTabItem(saisie.hwnd(), saisie.Button1(), FALSE), saisie.MaskEdit1());
}

TEST_F(PasswordWindowsTest, FirstPasswordDifferentEntriesAreClearedUntilTheyMatch) {
  Tsaisie saisie;
  ASSERT_TRUE(saisie.Create(Instance()));
  std::vector<std::function<void()>> steps;
  steps.push_back([&] {
    ExpectCentredOnOwner(saisie.hwnd());
    EXPECT_EQ(Text(saisie.Label1()), L"Marie");
    EXPECT_EQ(::GetFocus(), saisie.MaskEdit1());
  });
  for (int i = 0; i < 5; ++i) {  // no limit on mismatches
    steps.push_back([&] {
      SetText(saisie.MaskEdit1(), L"abc");
      SetText(saisie.MaskEdit2(), L"abC");
      ::SetFocus(saisie.Button1());
      Click(saisie.hwnd(), saisie.Button1());
      EXPECT_EQ(Text(saisie.MaskEdit1()), L"");
      EXPECT_EQ(Text(saisie.MaskEdit2()), L"");
      EXPECT_EQ(::GetFocus(), saisie.MaskEdit1());
      EXPECT_TRUE(::IsWindowVisible(saisie.hwnd()));
    });
  }
  steps.push_back([&] {
    SetText(saisie.MaskEdit1(), L"\u00e9t\u00e9 2004");
    SetText(saisie.MaskEdit2(), L"\u00e9t\u00e9 2004");
    Click(saisie.hwnd(), saisie.Button1());
  });
  ModalScript script(steps);
  std::wstring current;
  EXPECT_TRUE(saisie.ShowModal(owner(), L"Marie", current));
  EXPECT_TRUE(StoredPasswordMatches(current, L"\u00e9t\u00e9 2004"));
  EXPECT_FALSE(TerminationRequested());
}

TEST_F(PasswordWindowsTest, FirstPasswordTwoEmptyEntriesSetAnEmptyPasswordAndATakenOneIsWiped) {
  Tsaisie saisie;
  ASSERT_TRUE(saisie.Create(Instance()));
  std::wstring current = L"stale";
  {
    ModalScript script({[&] { Click(saisie.hwnd(), saisie.Button1()); }});
    EXPECT_TRUE(saisie.ShowModal(owner(), L"u", current));
    EXPECT_EQ(current, L"");
  }
  {
    ModalScript script({[&] {
      SetText(saisie.MaskEdit1(), L"kept");
      SetText(saisie.MaskEdit2(), L"kept");
      Click(saisie.hwnd(), saisie.Button1());
    }});
    EXPECT_TRUE(saisie.ShowModal(owner(), L"u", current));
    EXPECT_TRUE(StoredPasswordMatches(current, L"kept"));
  }
  // Shown again: the password taken is in no entry any more.
  const std::wstring taken = current;
  ModalScript script({[&] {
    EXPECT_EQ(Text(saisie.MaskEdit1()), L"");
    EXPECT_EQ(Text(saisie.MaskEdit2()), L"");
    RequestTermination();
  }});
  EXPECT_FALSE(saisie.ShowModal(owner(), L"u", current));
  EXPECT_EQ(current, taken);  // unchanged when the window ends by termination
}

// ---- Tnouveaupasse -------------------------------------------------------------

TEST_F(PasswordWindowsTest, ChangePasswordWindowLayoutTabOrderAndPosition) {
  Tnouveaupasse nouveau;
  ASSERT_TRUE(nouveau.Create(Instance()));
  ExpectDialogFrame(nouveau.hwnd(), L"Nouveau Mot de passe", 171, 197, true);
  EXPECT_TRUE(HasChildWithText(nouveau.hwnd(), L"Tapez votre mot de passe:"));
  EXPECT_TRUE(HasChildWithText(nouveau.hwnd(), L"Tapez le nouveau mot de passe:"));
  EXPECT_TRUE(HasChildWithText(nouveau.hwnd(), L"Confirmez le mot de passe"));
  EXPECT_EQ(Text(nouveau.Button1()), L"&OK");
  ExpectMaskedEntry(nouveau.MaskEdit1());
  ExpectMaskedEntry(nouveau.MaskEdit2());
  ExpectMaskedEntry(nouveau.MaskEdit3());
  ExpectFonts(nouveau.Label1(), nouveau.MaskEdit3());
  HWND h = nouveau.hwnd();
  EXPECT_EQ(::GetNextDlgTabItem(h, nullptr, FALSE), nouveau.MaskEdit1());
  EXPECT_EQ(::GetNextDlgTabItem(h, nouveau.MaskEdit1(), FALSE), nouveau.MaskEdit2());
  EXPECT_EQ(::GetNextDlgTabItem(h, nouveau.MaskEdit2(), FALSE), nouveau.Button1());
  EXPECT_EQ(::GetNextDlgTabItem(h, nouveau.Button1(), FALSE), nouveau.MaskEdit3());
  EXPECT_EQ(::GetNextDlgTabItem(h, nouveau.MaskEdit3(), FALSE), nouveau.MaskEdit1());
  // Top to bottom: current password, new password, confirmation, button.
  RECT r3{}, r1{}, r2{}, rb{};
  ::GetWindowRect(nouveau.MaskEdit3(), &r3);
  ::GetWindowRect(nouveau.MaskEdit1(), &r1);
  ::GetWindowRect(nouveau.MaskEdit2(), &r2);
  ::GetWindowRect(nouveau.Button1(), &rb);
  EXPECT_LT(r3.bottom, r1.top);
  EXPECT_LT(r1.bottom, r2.top);
  EXPECT_LT(r2.bottom, rb.top);

  std::wstring current = L"pw";
  RECT seen{};
  ModalScript script({[&] {
    ::GetWindowRect(h, &seen);
    EXPECT_EQ(::GetFocus(), nouveau.MaskEdit3());
    EXPECT_EQ(Text(nouveau.Label1()), L"Jo");
    RequestTermination();
  }});
  nouveau.ShowModal(owner(), L"Jo", current);
  EXPECT_EQ(seen.left, 385);
  EXPECT_EQ(seen.top, 248);
}

TEST_F(PasswordWindowsTest, ChangePasswordChecksTheCurrentOneThenTheConfirmation) {
  Tnouveaupasse nouveau;
  ASSERT_TRUE(nouveau.Create(Instance()));
  std::wstring current = L"old";
  ModalScript script({
      [&] {  // wrong current password: the new entries are left alone
        SetText(nouveau.MaskEdit3(), L"OLD");
        SetText(nouveau.MaskEdit1(), L"a");
        SetText(nouveau.MaskEdit2(), L"b");
        Click(nouveau.hwnd(), nouveau.Button1());
        EXPECT_EQ(Text(nouveau.MaskEdit3()), L"");
        EXPECT_EQ(Text(nouveau.MaskEdit1()), L"a");
        EXPECT_EQ(Text(nouveau.MaskEdit2()), L"b");
        EXPECT_EQ(::GetFocus(), nouveau.MaskEdit3());
        EXPECT_EQ(nouveau.WrongAttempts(), 1);
      },
      [&] {  // right current password, different new entries: no count
        SetText(nouveau.MaskEdit3(), L"old");
        Click(nouveau.hwnd(), nouveau.Button1());
        EXPECT_EQ(Text(nouveau.MaskEdit3()), L"old");
        EXPECT_EQ(Text(nouveau.MaskEdit1()), L"");
        EXPECT_EQ(Text(nouveau.MaskEdit2()), L"");
        EXPECT_EQ(::GetFocus(), nouveau.MaskEdit1());
        EXPECT_EQ(nouveau.WrongAttempts(), 1);
        EXPECT_TRUE(::IsWindowVisible(nouveau.hwnd()));
      },
      [&] {
        SetText(nouveau.MaskEdit1(), L"new");
        SetText(nouveau.MaskEdit2(), L"new");
        Click(nouveau.hwnd(), nouveau.Button1());
      },
  });
  EXPECT_TRUE(nouveau.ShowModal(owner(), L"user", current));
  EXPECT_TRUE(StoredPasswordMatches(current, L"new"));
  EXPECT_FALSE(TerminationRequested());
}

TEST_F(PasswordWindowsTest, ChangePasswordWrongTriesAddUpOverShowingsAndATakenPasswordIsWiped) {
  Tnouveaupasse nouveau;
  ASSERT_TRUE(nouveau.Create(Instance()));
  std::wstring current;  // first run: no password yet, an empty entry is right
  auto wrong = [&] {
    SetText(nouveau.MaskEdit3(), L"guess");
    Click(nouveau.hwnd(), nouveau.Button1());
  };
  {
    ModalScript script({wrong, wrong, [&] {
                          SetText(nouveau.MaskEdit3(), L"");
                          SetText(nouveau.MaskEdit1(), L"p1");
                          SetText(nouveau.MaskEdit2(), L"p1");
                          Click(nouveau.hwnd(), nouveau.Button1());
                        }});
    EXPECT_TRUE(nouveau.ShowModal(owner(), L"user", current));
    EXPECT_TRUE(StoredPasswordMatches(current, L"p1"));
    EXPECT_EQ(nouveau.WrongAttempts(), 2);
  }
  const std::wstring taken = current;
  {
    // Shown again: no entry holds what was typed, and an empty current
    // password no longer matches.
    ModalScript script({
        [&] {
          for (HWND entry : {nouveau.MaskEdit3(), nouveau.MaskEdit1(), nouveau.MaskEdit2()})
            EXPECT_EQ(Text(entry), L"");
          Click(nouveau.hwnd(), nouveau.Button1());
          EXPECT_EQ(nouveau.WrongAttempts(), 3);
          EXPECT_FALSE(TerminationRequested());
        },
        wrong,
        [] { ADD_FAILURE() << "the window stayed open after the fourth wrong try of the run"; },
    });
    EXPECT_FALSE(nouveau.ShowModal(owner(), L"user", current));
    EXPECT_TRUE(TerminationRequested());
    EXPECT_EQ(nouveau.WrongAttempts(), 4);
    EXPECT_EQ(current, taken);
  }
}

// Escape and the close box: the login prompt (at logon with the autostart
// on, the first thing the user meets) refuses as the fourth wrong try does;
// the change-password window closes with the password as it was, even with
// the right current password and empty new entries. Neither counts a try,
// and what was typed goes.
TEST_F(PasswordWindowsTest, EscapeOrTheCloseBoxLeaveWithoutATry) {
  TPasse passe;
  Tnouveaupasse nouveau;
  ASSERT_TRUE(passe.Create(Instance()) && nouveau.Create(Instance()));
  std::wstring current = HashPassword(L"old", kCheapestPasswordCost).value();
  const std::wstring before = current;
  for (const bool login : {true, false}) {
    for (const bool closeBox : {false, true}) {
      ResetTermination();
      const HWND window = login ? passe.hwnd() : nouveau.hwnd();
      const HWND entry = login ? passe.MaskEdit1() : nouveau.MaskEdit3();
      ModalScript script({
          [&] {
            SetText(entry, L"old");
            if (closeBox)
              ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
              PostKey(entry, VK_ESCAPE);
          },
          [] { ADD_FAILURE() << "the window stayed open"; },
      });
      EXPECT_FALSE(login ? passe.ShowModal(owner(), L"user", L"right") : nouveau.ShowModal(owner(), L"user", current));
      EXPECT_EQ(TerminationRequested(), login) << login << closeBox;
      EXPECT_EQ(login ? passe.WrongAttempts() : nouveau.WrongAttempts(), 0);
      EXPECT_EQ(Text(entry), L"");
      EXPECT_FALSE(::IsWindowVisible(window));
    }
  }
  ResetTermination();
  EXPECT_EQ(current, before);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(PasswordWindowsTest, EmptyNewEntriesAskBeforeTheyRemoveThePassword) {
  Tnouveaupasse nouveau;
  ASSERT_TRUE(nouveau.Create(Instance()));
  std::wstring current = HashPassword(L"old", kCheapestPasswordCost).value();
  const std::wstring before = current;
  messages_.answers = {IDNO, IDYES};
  ModalScript script({
      [&] {
        SetText(nouveau.MaskEdit3(), L"old");
        Click(nouveau.hwnd(), nouveau.Button1());
        // No: the window stays as it was.
        EXPECT_TRUE(::IsWindowVisible(nouveau.hwnd()));
        EXPECT_EQ(Text(nouveau.MaskEdit3()), L"old");
        EXPECT_EQ(::GetFocus(), nouveau.MaskEdit1());
        Click(nouveau.hwnd(), nouveau.Button1());
      },
      [] { ADD_FAILURE() << "Yes did not close the window"; },
  });
  EXPECT_TRUE(nouveau.ShowModal(owner(), L"Marie", current));
  EXPECT_EQ(current, L"");
  EXPECT_NE(before, L"");
  ASSERT_EQ(messages_.shown.size(), 2u);
  for (const auto& shown : messages_.shown) {
    EXPECT_EQ(shown.text, L"Supprimer le mot de passe de Marie ?");
    EXPECT_EQ(shown.flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
  }
  EXPECT_EQ(nouveau.WrongAttempts(), 0);
  messages_.shown.clear();
}

}  // namespace
}  // namespace ferlane
