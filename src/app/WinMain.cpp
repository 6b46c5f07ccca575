#include <windows.h>

#include "app/Application.h"
#include "app/CommandLineRun.h"
#include "platform/Platform.h"
#include "platform/ProgramPath.h"
#include "protect/logic/ListFile.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  ferlane::StartSteps steps;
  steps.commandLine = [] { return ferlane::RunCommandLine(); };
  steps.listFile = ferlane::ListFilePath(ferlane::ProgramFolder(), ferlane::GetLogonUserName());
  steps.runWindow = [instance](const ferlane::ListWindowClaim& claim) {
    return ferlane::RunApplication(instance, claim);
  };
  return ferlane::StartProgram(steps);
}
