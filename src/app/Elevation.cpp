#include "app/Elevation.h"

#include <windows.h>

#include <iterator>
#include <string>

#include "platform/ErrorText.h"
#include "platform/EventTrail.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/ProgramPath.h"

namespace ferlane {
namespace {

std::wstring CurrentFolder() {
  wchar_t folder[MAX_PATH * 2] = {};
  const DWORD n = ::GetCurrentDirectoryW(static_cast<DWORD>(std::size(folder)), folder);
  return n < std::size(folder) ? std::wstring(folder, n) : std::wstring();
}

}  // namespace

std::optional<int> RestartElevatedIfLimited(bool eventLog) {
  if (Platform().Elevation() != TokenElevation::Limited) return std::nullopt;
  const DWORD error = Platform().StartElevated(ProgramPath(), CurrentFolder());
  if (error == ERROR_SUCCESS) return 0;  // the elevated copy carries on
  // Without elevation the administrator's writes would fail one by one:
  // this run ends before it writes anything.
  SetApplicationTitle(L"Ferlane");
  const std::wstring text =
      error == ERROR_CANCELLED
          ? std::wstring(L"L'\u00E9l\u00E9vation a \u00E9t\u00E9 refus\u00E9e : Ferlane a besoin des droits "
                         L"d'administrateur. L'application va se terminer sans rien modifier.")
          : L"Ferlane n'a pas pu se relancer avec les droits d'administrateur : " + SystemErrorText(error) +
                L" L'application va se terminer sans rien modifier.";
  // Written before the box, which may stay up as long as no one answers it.
  EventTrail(eventLog, EventOrigin::Window)
      .Write(EventId::RefusedElevation,
             {error == ERROR_CANCELLED ? std::wstring(L"l'invite d'\u00E9l\u00E9vation a \u00E9t\u00E9 refus\u00E9e.")
                                       : SystemErrorText(error)});
  ShowMessage(nullptr, text, MB_OK | MB_ICONWARNING);
  return 1;
}

}  // namespace ferlane
