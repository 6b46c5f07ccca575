#pragma once

namespace ferlane {

template <typename Done>
bool RunModalLoop(HWND window, HWND owner, Done done) {
  const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  ::ShowWindow(window, SW_SHOW);
  ::SetForegroundWindow(window);
  MSG msg;
  while (!done() && !TerminationRequested()) {
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // let the outer loop see it too
      break;
    }
    if (!::IsDialogMessageW(window, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
  ::ShowWindow(window, SW_HIDE);
  if (owner) ::SetActiveWindow(owner);
  return !TerminationRequested();
}

}  // namespace ferlane
