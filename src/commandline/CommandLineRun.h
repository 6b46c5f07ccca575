#pragma once
// The command line's job, run with no window: no splash, no password window,
// no message box, nothing that waits on a person. What it did goes to the
// caller's standard output when that was redirected, else to the console it
// was started from, else nowhere.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ferlane {

// Runs the job the process's arguments ask and returns its exit code; nothing
// when there is no argument, for the window to start as usual.
std::optional<int> RunCommandLine();

// The same job for arguments already split, each line of its report given to
// say: the tests' way in.
int RunCommandArguments(const std::vector<std::wstring>& args, const std::function<void(const std::wstring&)>& say);

}  // namespace ferlane
