#include "app/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include <optional>

#include "app/Elevation.h"
#include "listplace/ListWindowClaim.h"
#include "app/MainWindow.h"
#include "app/PasswordWindows.h"
#include "app/Splash.h"
#include "browse/ShellOps.h"
#include "platform/Deadline.h"
#include "platform/EventTrail.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/ProgramPath.h"
#include "platform/Termination.h"

namespace ferlane {

int StartProgram(const StartSteps& steps) {
  // An argument asks for a job without any window; none starts the window.
  if (const auto code = steps.commandLine()) return *code;
  // One window per user's list: a second start shows the first window and
  // ends before anything is shown or written. A limited start only looks.
  // The claim asks the list's folder (once, with the window's deadline):
  // on a server, the splash is up while it may wait.
  if (steps.showSplash && OnServer(steps.listFile)) steps.showSplash();
  std::optional<ListWindowClaim> claim;
  claim.emplace(steps.listFile);
  if (claim->Taken() || claim->Refused()) {
    if (claim->BringHolderToFront(steps.holderWaitMs)) return 0;
    // The holder may have closed while it was looked for.
    claim.emplace(steps.listFile);
  }
  // A refused limited start found no window in this session: it elevates,
  // and the elevated copy, which a real window's name opens to, tells a
  // holder in another session from a name made to keep it out.
  if (claim->Taken()) {
    // Never a second window: the holder is out of reach, in another session.
    SetApplicationTitle(L"Ferlane");
    ShowMessage(nullptr, L"Ferlane est d\u00E9j\u00E0 ouvert pour cette liste dans une autre session.",
                MB_OK | MB_ICONINFORMATION);
    return kExitOpenElsewhere;
  }
  // The window elevates itself before anything of it runs: no check or write
  // of this limited run may stand in the elevated copy's way.
  if (const auto code = RestartElevatedIfLimited(steps.eventLog)) return *code;
  return steps.runWindow(*claim);
}

int RunApplication(HINSTANCE instance, const ListWindowClaim& claim, const Policies& policies, Tlogo& logo) {
  // 1. The splash window is shown and painted before anything else.
  if (!logo.hwnd()) {
    logo.Create(instance);
    logo.ShowAndPaint();
  }

  // 2. The application object: common controls and COM for the shell.
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);

  // 3. The title of message boxes.
  SetApplicationTitle(L"Ferlane");

  // 4. The main window and its creation steps; its commands and refusals
  // write to the event log unless a policy says not to.
  EventTrail trail(policies.eventLog, EventOrigin::Window);
  Tficheprincipale main(ProgramFolder(), policies);
  main.SetEventTrail(&trail);
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
  // has closed or termination was requested. A folder for the lists made at
  // this start: the window holds the list under that folder's name too.
  main.SetListClaim(&claim);
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
