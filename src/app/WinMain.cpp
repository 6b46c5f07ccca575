#include <windows.h>

#include <optional>

#include "app/Application.h"
#include "commandline/CommandLineRun.h"
#include "policies/PolicyReader.h"
#include "app/Splash.h"
#include "platform/Platform.h"
#include "platform/ProgramPath.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  // An argument asks for a job without any window; the job reads what the
  // administrator imposes itself, so a run reads it once either way.
  if (const auto code = ferlane::RunCommandLine()) return *code;
  // What the administrator imposes, read once for the window: it says
  // where the user's list is, and so which window a second start looks for.
  const ferlane::Policies policies = ferlane::ReadPolicies();
  ferlane::StartSteps steps;
  steps.commandLine = [] { return std::optional<int>(); };  // run above
  steps.listFile = ferlane::UserListPath(policies, ferlane::ProgramFolder(), ferlane::GetLogonUserName());
  steps.eventLog = policies.eventLog;
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
