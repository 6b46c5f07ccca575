#pragma once
// The user's password value under the settings key, as both the window and
// the command line read it before they judge a typed password.
#include <windows.h>

#include <string>

namespace ferlane {

struct StoredPasswordValue {
  // Why the settings key could not be opened (ERROR_FILE_NOT_FOUND: no
  // settings yet, so no password), else ERROR_SUCCESS.
  LONG openError = ERROR_SUCCESS;
  // A value is there but is no text (a REG_DWORD): it cannot be told from a
  // password, so it is never taken for none.
  bool notText = false;
  // The value's text; empty when there is none.
  std::wstring text;

  // No typed text may open the value and nothing may be written over it:
  // not text, or text no reader of passwords knows.
  bool Damaged() const;
};

// Reads `user`'s value; the key is closed again before this returns.
StoredPasswordValue ReadStoredPasswordValue(const std::wstring& user);

}  // namespace ferlane
