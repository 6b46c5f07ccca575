#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace ferlane {

class ListWindowClaim;
class Tlogo;
struct Policies;

// The exit code of a start that found the window of its list open but could
// not bring it forward: it runs in another session.
constexpr int kExitOpenElsewhere = 5;
// How long a second start looks for the first window, which may still be
// behind its splash.
constexpr DWORD kHolderWaitMs = 5000;

// The program's start, in this order: the command line's job (which never
// elevates, so a logon script meets no prompt); then the claim on the list
// file, looked at before any elevation, so that an open window is brought
// forward without a prompt; then, for a limited token, the restart elevated;
// and only then `runWindow`, given the claim it holds.
struct StartSteps {
  std::function<std::optional<int>()> commandLine;
  std::wstring listFile;
  // Shows the splash; called before the claim when the list lies on a
  // server, whose lookup may make the start wait (the splash then stays up
  // until the window takes over).
  std::function<void()> showSplash;
  std::function<int(const ListWindowClaim&)> runWindow;
  // The event-log policy of the window's policies, for the refused
  // elevation's event.
  bool eventLog = true;
  DWORD holderWaitMs = kHolderWaitMs;
};
int StartProgram(const StartSteps& steps);

// The whole start-up sequence of the window, the main loop and the end of
// the program, once the claim is held, under what the administrator imposes.
// `logo` is the splash, already shown when the start waited for a server.
int RunApplication(HINSTANCE instance, const ListWindowClaim& claim, const Policies& policies, Tlogo& logo);

}  // namespace ferlane
