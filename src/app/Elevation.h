#pragma once
// The window asks for elevation itself, since the manifest runs the program
// as invoked (so that a script never meets a prompt): started with a limited
// administrator's token, it starts itself again elevated and ends.
#include <optional>

namespace ferlane {

// Run before anything else of the window: with a limited token it starts the
// program again with "runas" (one prompt) and gives this run's exit code; a
// refused or failed start is said in French, and nothing is written. Nothing
// for any other token (full, a standard user's, Windows XP's): the window
// starts as usual. `eventLog`: whether the policies let the refusal be
// written as an event.
std::optional<int> RestartElevatedIfLimited(bool eventLog = true);

}  // namespace ferlane
