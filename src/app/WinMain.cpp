#include <windows.h>

#include "app/Application.h"
#include "app/CommandLineRun.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  // An argument asks for a job without any window; none starts the window.
  if (const auto code = ferlane::RunCommandLine()) return *code;
  return ferlane::RunApplication(instance);
}
