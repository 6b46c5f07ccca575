#include "listplace/logic/ListWindow.h"

#include "platform/logic/HexText.h"

namespace ferlane {

std::wstring ListWindowMutexName(std::uint64_t key) {
  return L"Global\\Ferlane-" + HexDigits(key, 16);
}

ClaimVerdict JudgeClaim(ClaimOpening opening, ClaimOwner owner, bool openOnly) {
  switch (opening) {
    case ClaimOpening::Created: return ClaimVerdict::Held;
    case ClaimOpening::NotFound: return ClaimVerdict::Free;
    case ClaimOpening::Failed: return openOnly ? ClaimVerdict::Free : ClaimVerdict::NoClaim;
    case ClaimOpening::AccessDenied: return openOnly ? ClaimVerdict::Refused : ClaimVerdict::Ignored;
    case ClaimOpening::Existed: break;
  }
  // Any local user may make a name in the machine-wide namespace; only the
  // user's own, the Administrators' (an elevated window's) and SYSTEM's
  // stand for a window. An owner that cannot be read is an older version's
  // window: one window is the safe side.
  return owner == ClaimOwner::Other ? ClaimVerdict::Ignored : ClaimVerdict::Taken;
}

}  // namespace ferlane
