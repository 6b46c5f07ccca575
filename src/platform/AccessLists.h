#pragma once
// The one maker of the security identifiers and access lists the program
// writes: the list files' and the store's rights, the window's claim on its
// list, the account an event names; and the platform's reading and writing
// of a file's rights in the system's form.
#include <windows.h>

#include <vector>

#include "platform/UniqueHandle.h"
#include "platform/logic/FileRights.h"

namespace ferlane {

// A SID of the NT authority (SYSTEM; the Administrators group), or none.
UniqueSid NtAuthoritySid(BYTE count, DWORD first, DWORD second = 0);
// The user of the process token: the one the list file, the store and the
// window's claim belong to. Empty where the system has no tokens (9x).
std::vector<BYTE> TokenUserSid();

// The SIDs a rights entry names by its trustee, made once for one job.
struct TrusteeSids {
  UniqueSid system = NtAuthoritySid(1, SECURITY_LOCAL_SYSTEM_RID);
  UniqueSid administrators = NtAuthoritySid(2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
  std::vector<BYTE> user = TokenUserSid();

  // The trustee's SID; none when the system could not give it.
  PSID Of(Trustee who) const;
  // Which of the three a SID is; Other for anyone else.
  Trustee Which(PSID sid) const;
};

// The access list of rights, owned by `owned`; ERROR_SUCCESS, or why it
// cannot be made (a trustee without a SID: ERROR_NO_SUCH_USER).
DWORD BuildAcl(const FileRights& rights, const TrusteeSids& sids, UniqueLocal& owned, PACL& acl);

}  // namespace ferlane
