#include "app/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/ListWindowClaim.h"
#include "app/MainWindow.h"
#include "app/PasswordWindows.h"
#include "app/PolicyReader.h"
#include "app/Splash.h"
#include "browse/ShellOps.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/ProgramPath.h"
#include "platform/Termination.h"

namespace ferlane {
namespace {

// How long a second start looks for the first window, which may still be
// behind its splash.
constexpr DWORD kHolderWaitMs = 5000;

}  // namespace

int RunApplication(HINSTANCE instance) {
  // What the administrator imposes, read once for the whole run.
  const Policies policies = ReadPolicies();
  // One window per user's list: a second start shows the first window and
  // ends before anything is shown or written.
  const ListWindowClaim claim(UserListPath(policies, ProgramFolder(), GetLogonUserName()));
  if (!claim.Held()) {
    claim.BringHolderToFront(kHolderWaitMs);
    return 0;
  }

  // 1. The splash window is shown and painted before anything else.
  Tlogo logo;
  logo.Create(instance);
  logo.ShowAndPaint();

  // 2. The application object: common controls and COM for the shell.
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);

  // 3. The title of message boxes.
  SetApplicationTitle(L"Ferlane");

  // 4. The main window and its creation steps.
  Tficheprincipale main(ProgramFolder(), policies);
  if (!main.Create(instance)) {
    ::OleUninitialize();
    return 1;
  }
  SetMainWindow(main.hwnd());
  claim.Mark(main.hwnd());

  // 5. The password windows, hidden.
  TPasse passe;
  Tsaisie saisie;
  Tnouveaupasse nouveaupasse;
  passe.Create(instance);
  saisie.Create(instance);
  nouveaupasse.Create(instance);
  saisie.SetMinPasswordLength(policies.minPasswordLength);
  nouveaupasse.SetMinPasswordLength(policies.minPasswordLength);
  main.SetPasswordWindows({&passe, &saisie, &nouveaupasse});

  // 6. The splash window goes.
  logo.Destroy();

  // 7. The main loop shows the main window first, then runs until the window
  // has closed or termination was requested.
  main.ShowFirstTime();
  MSG msg;
  while (!TerminationRequested() && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (main.PreTranslateMessage(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  // 8. The end: a terminating run skips the close steps.
  SetMainWindow(nullptr);
  ::OleUninitialize();
  return 0;
}

}  // namespace ferlane
