#pragma once
// Every message box of the program goes through here, captioned with the
// application title. Tests install a sink that records the text and answers.
#include <windows.h>
#include <string>

namespace ferlane {

class IMessageSink {
 public:
  virtual ~IMessageSink() = default;
  // Returns the button pressed (IDOK, IDYES, IDNO, ...).
  virtual int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) = 0;
};

// The application title ("Ferlane" once start-up set it).
const std::wstring& ApplicationTitle();
void SetApplicationTitle(const std::wstring& title);

int ShowMessage(HWND owner, const std::wstring& text, UINT flags);
inline void ShowError(HWND owner, const std::wstring& text) { ShowMessage(owner, text, MB_OK | MB_ICONERROR); }
inline void ShowWarning(HWND owner, const std::wstring& text) { ShowMessage(owner, text, MB_OK | MB_ICONWARNING); }
inline bool AskYesNo(HWND owner, const std::wstring& text) {
  return ShowMessage(owner, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// nullptr restores the real message boxes. Not owned.
void SetMessageSink(IMessageSink* sink);

}  // namespace ferlane
