#pragma once
#include <windows.h>

namespace ferlane {

// The hourglass for the length of a scope; the previous cursor comes back.
class WaitCursor {
 public:
  WaitCursor() : old_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(old_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR old_;
};

}  // namespace ferlane
