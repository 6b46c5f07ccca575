#include <windows.h>

#include "app/Application.h"
#include "commandline/CommandLineRun.h"
#include "policies/PolicyReader.h"
#include "app/Splash.h"
#include "platform/Platform.h"
#include "platform/ProgramPath.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  // What the administrator imposes, read once for the window: it says
  // where the user's list is, and so which window a second start looks for.
  const ferlane::Policies policies = ferlane::ReadPolicies();
  ferlane::StartSteps steps;
  steps.commandLine = [] { return ferlane::RunCommandLine(); };
  steps.listFile = ferlane::UserListPath(policies, ferlane::ProgramFolder(), ferlane::GetLogonUserName());
  ferlane::Tlogo logo;
  steps.showSplash = [instance, &logo] {
    logo.Create(instance);
    logo.ShowAndPaint();
  };
  steps.runWindow = [instance, &policies, &logo](const ferlane::ListWindowClaim& claim) {
    return ferlane::RunApplication(instance, claim, policies, logo);
  };
  return ferlane::StartProgram(steps);
}
