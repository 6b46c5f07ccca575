#include "platform/Termination.h"

namespace ferlane {
namespace {
bool g_terminating = false;
}

void RequestTermination() {
  g_terminating = true;
  // Wakes a nested or main message loop that is waiting for input.
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}
bool TerminationRequested() { return g_terminating; }
void ResetTermination() { g_terminating = false; }

}  // namespace ferlane
