#pragma once
// The three password windows: the login prompt TPasse, the first-password
// window Tsaisie and the change-password window Tnouveaupasse. Each is created
// once, hidden, and shown modally as often as needed; its entries keep their
// text between showings. They never touch the registry: the caller hands in
// the expected password and receives the new current password.
#include <windows.h>

#include <optional>
#include <string>

#include "password/logic/PasswordGate.h"
#include "password/logic/PasswordHash.h"
#include "platform/UniqueHandle.h"

namespace ferlane {

// Control identifiers, shared by the three windows.
enum PasswordControlId : int {
  kIdButton1 = 100,
  kIdMaskEdit1 = 101,
  kIdMaskEdit2 = 102,
  kIdMaskEdit3 = 103,
  kIdUserLabel = 110,
};

// What the three windows have in common: a fixed dialog frame, the "MS Sans
// Serif" fonts, masked entries, keeping the focus across deactivation, and
// "&OK" (Enter in an entry does nothing). Escape, Alt+F4 and the close box,
// which only the windows with a way out show, go to OnCancel.
class PasswordDialog {
 public:
  virtual ~PasswordDialog();
  PasswordDialog(const PasswordDialog&) = delete;
  PasswordDialog& operator=(const PasswordDialog&) = delete;

  HWND hwnd() const { return hwnd_; }
  // What an entry holds, wiped when the caller is done with it.
  static SecretText SecretOf(HWND entry);
  // Overwrites what the entry's own buffer holds, then empties it.
  static void WipeEntry(HWND entry);

 protected:
  PasswordDialog() = default;

  // Sizes and positions are pixels at 96 DPI: scaled here for the screen.
  bool CreateFrame(HINSTANCE instance, const wchar_t* className, const wchar_t* caption, int clientWidth,
                   int clientHeight, DWORD exStyle, bool closeBox);
  HWND AddLabel(const wchar_t* text, int x, int y, int width, int height, bool bold = false, int id = -1);
  HWND AddEntry(int id, int x, int y, int width, int height);
  HWND AddButton(int id, const wchar_t* text, int x, int y, int width, int height);

  // Centres the window on the owner's bounds (the screen without owner),
  // kept inside the work area so that the prompt can always be seen.
  void CentreOn(HWND owner);
  // Moves the window to x, y (screen pixels), kept whole inside the work
  // area of the monitor it then lies on.
  void MoveTo(int x, int y);
  // The design's place (pixels at 96 DPI from the owner's monitor's corner),
  // scaled for the screen, kept on that monitor.
  void MoveToDesignPlace(HWND owner, int designX, int designY);
  // Makes owner the window's owner, then runs the modal loop until a handler
  // closes the window or termination is requested. False on termination.
  bool RunModal(HWND owner);

  // Gives c the focus now, or on the next activation while hidden.
  void FocusControl(HWND c);
  // Carries out a step of the gate rules.
  void Apply(const GateStep& step);

  virtual HWND Control(GateControl c) const = 0;
  virtual void OnCommand(int id, int code, HWND control) = 0;
  virtual void OnTimer(UINT_PTR /*id*/) {}
  // A check that ran away from the window's thread came back.
  virtual void OnChecked(WPARAM /*generation*/, bool /*matches*/) {}
  virtual void FormShow() = 0;
  // Escape, Alt+F4 or the close box; nothing by default.
  virtual void OnCancel() {}

  bool closed_ = false;

 private:
  template <class T>
  friend LRESULT CALLBACK ThunkProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd) {
    hwnd_ = hwnd;
    if (!hwnd) focus_ = nullptr;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  HWND focus_ = nullptr;
  HFONT font_ = nullptr;      // the shared dialog font (DialogFont)
  HFONT boldFont_ = nullptr;
};

// Login prompt shown at start when the user has a password.
class TPasse : public PasswordDialog {
 public:
  // Creates the hidden window; its wrong-attempt counter starts at zero.
  bool Create(HINSTANCE instance);
  // Returns true once the expected password was confirmed, false when the
  // window closed because termination was requested.
  bool ShowModal(HWND owner, const std::wstring& userName, const std::wstring& expected);
  // After a confirmed showing against a password stored in an earlier form:
  // its hash in today's, to become the current password, stored at close.
  const std::optional<std::wstring>& NewPassword() const { return chosen_; }

  HWND Label2() const { return label2_; }
  HWND MaskEdit1() const { return maskEdit1_; }
  HWND Button1() const { return button1_; }
  int WrongAttempts() const { return gate_.WrongAttempts(); }

  void FormCreate();
  void FormShow() override;
  // Against a hashed password the comparison waits for a pause in typing
  // and runs on a thread of its own, so the window always answers.
  void MaskEdit1Change();
  void Button1Click();
  // Escape or the close box: the run ends as after the last wrong try.
  void OnCancel() override;

  // The pause after the last key before a hashed password is compared.
  static constexpr UINT kTypingPauseMs = 300;

 private:
  HWND Control(GateControl c) const override;
  void OnCommand(int id, int code, HWND control) override;
  void OnTimer(UINT_PTR id) override;
  void OnChecked(WPARAM generation, bool matches) override;
  void StartTypingCheck();

  LoginPromptGate gate_;
  std::optional<std::wstring> chosen_;
  // Every change of the entry makes a new generation; a check's answer
  // counts only for the generation it was asked for.
  WPARAM generation_ = 0;
  std::optional<WPARAM> rightGeneration_;  // the text found right, unchanged since
  bool checking_ = false;
  bool checkAgain_ = false;  // a pause came while a check still ran
  HWND label2_ = nullptr;
  HWND maskEdit1_ = nullptr;
  HWND button1_ = nullptr;
};

// First-password window shown at start when the stored password is empty.
class Tsaisie : public PasswordDialog {
 public:
  bool Create(HINSTANCE instance);
  // Sets currentPassword to the confirmed text and returns true; returns
  // false, leaving it unchanged, when termination was requested.
  bool ShowModal(HWND owner, const std::wstring& userName, std::wstring& currentPassword);
  // The administrator's minimum length of a new password (0: none).
  void SetMinPasswordLength(std::uint32_t length) { gate_.SetMinLength(length); }

  HWND Label1() const { return label1_; }
  HWND MaskEdit1() const { return maskEdit1_; }
  HWND MaskEdit2() const { return maskEdit2_; }
  HWND Button1() const { return button1_; }

  void FormShow() override;
  void Button1Click();

 private:
  HWND Control(GateControl c) const override;
  void OnCommand(int id, int code, HWND control) override;

  FirstPasswordGate gate_;
  std::optional<std::wstring> chosen_;
  HWND label1_ = nullptr;
  HWND maskEdit1_ = nullptr;
  HWND maskEdit2_ = nullptr;
  HWND button1_ = nullptr;
};

// Change-password window of the menu command "Changer le mot de &Passe".
class Tnouveaupasse : public PasswordDialog {
 public:
  // Creates the hidden window; its wrong-attempt counter starts at zero and
  // adds up over every showing of the run.
  bool Create(HINSTANCE instance);
  // currentPassword is the expected current password; on success it becomes
  // the new one and true is returned. False when termination was requested.
  bool ShowModal(HWND owner, const std::wstring& userName, std::wstring& currentPassword);
  void SetMinPasswordLength(std::uint32_t length) { gate_.SetMinLength(length); }

  HWND Label1() const { return label1_; }
  HWND MaskEdit1() const { return maskEdit1_; }
  HWND MaskEdit2() const { return maskEdit2_; }
  HWND MaskEdit3() const { return maskEdit3_; }
  HWND Button1() const { return button1_; }
  int WrongAttempts() const { return gate_.WrongAttempts(); }

  void FormCreate();
  void FormShow() override;
  // Both new entries empty while a password is set: asks before removing it.
  void Button1Click();
  // Escape or the close box: closes without changing anything or counting a try.
  void OnCancel() override;

 private:
  HWND Control(GateControl c) const override;
  void OnCommand(int id, int code, HWND control) override;

  ChangePasswordGate gate_;
  std::wstring userName_;
  std::optional<std::wstring> chosen_;
  HWND label1_ = nullptr;
  HWND maskEdit1_ = nullptr;
  HWND maskEdit2_ = nullptr;
  HWND maskEdit3_ = nullptr;
  HWND button1_ = nullptr;
};

}  // namespace ferlane
