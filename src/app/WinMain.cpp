#include <windows.h>

#include "app/Application.h"
#include "app/CommandLineRun.h"
#include "app/Elevation.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  // An argument asks for a job without any window; none starts the window.
  if (const auto code = ferlane::RunCommandLine()) return *code;
  // The window elevates itself before anything of it runs: no check or write
  // of this limited run may stand in the elevated copy's way.
  if (const auto code = ferlane::RestartElevatedIfLimited()) return *code;
  return ferlane::RunApplication(instance);
}
