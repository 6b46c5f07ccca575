#pragma once
// One window per user's list file: a second window would write its own rows
// over the first one's at close. The window claims its list file before it
// shows anything; a second start finds the claim, brings the first window to
// the front and ends. The command line claims nothing.
#include <windows.h>

#include <string>

#include "platform/UniqueHandle.h"

namespace ferlane {

class ListWindowClaim {
 public:
  explicit ListWindowClaim(const std::wstring& listFile);
  // False when another window, of any session, holds the list file already.
  bool Held() const { return held_; }
  // Marks `window` as the one that holds the list file, for a second start.
  void Mark(HWND window) const;
  // Brings the window that holds the list file to the front, restored if
  // minimised, waiting up to waitMs for it to appear; false when none is found
  // (another session's window cannot be reached).
  bool BringHolderToFront(DWORD waitMs) const;

 private:
  UniqueKernelHandle mutex_;
  UINT_PTR mark_ = 0;
  bool held_ = false;
};

}  // namespace ferlane
