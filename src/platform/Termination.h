#pragma once
// A termination request (not an administrator, too many wrong passwords) does
// not interrupt the code that makes it: the current step runs to its end, any
// modal window open then closes at once, and the main loop ends at its next turn.
#include <windows.h>

namespace ferlane {

void RequestTermination();
bool TerminationRequested();
// For tests: forget an earlier request.
void ResetTermination();

// Shows `window` modally over `owner` (disabled meanwhile) and runs a nested
// message loop until `done()` answers true or termination is requested; the
// window is then hidden, not destroyed. Returns false when it ended by termination.
template <typename Done>
bool RunModalLoop(HWND window, HWND owner, Done done);

}  // namespace ferlane

#include "platform/Termination.inl"
