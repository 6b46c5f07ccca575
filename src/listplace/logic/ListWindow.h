#pragma once
// One window per user's list file on the machine: the name a running window
// is known by, made from the digest (PathKey) of the list file's folded path,
// and what a start makes of that name when it finds it.
#include <cstdint>
#include <string>

namespace ferlane {

// The name of the mutex the window holds while it runs: in the machine-wide
// namespace, so a window of another session counts too.
std::wstring ListWindowMutexName(std::uint64_t key);

// Who owns a name a start found already there. The window makes its name
// owned by its user, with rights for that user, SYSTEM and the
// Administrators only; an older version's name has no owner to read.
enum class ClaimOwner { ThisUser, Administrators, System, Other, Unknown };
// What opening the name gave.
enum class ClaimOpening {
  Created,       // the name was free and is now this start's
  Existed,       // someone made it already; its owner was read
  NotFound,      // free, and only looked at (a limited start creates nothing)
  AccessDenied,  // there, but its rights refuse this token
  Failed,        // the system gives no such name (another error)
};
enum class ClaimVerdict {
  Held,     // this start made the name: it is the window
  Free,     // nobody holds it: a limited start goes on to elevate
  Taken,    // a window of this user holds it: bring that one forward
  Ignored,  // someone else made the name to stand in the way: start as if free
  NoClaim,  // no claim can be made: start as before
  // A limited start was refused the name: an elevated window's, or one any
  // local user made to refuse it. The window is looked for; when none is
  // found, the elevated copy (which the real name opens to) decides.
  Refused,
};
// The owner rule. `openOnly`: the limited start of a UAC administrator,
// which only looks (the elevated copy it starts must find the name free).
// A refusal cannot be judged there, since the elevated window's name
// refuses a limited token as a squatter's does. A full start is never
// refused by its own user's window, so a refusal there is someone else's
// name.
ClaimVerdict JudgeClaim(ClaimOpening opening, ClaimOwner owner, bool openOnly);
// Whether a start with this verdict may open its window.
inline bool MayOpenWindow(ClaimVerdict v) {
  return v == ClaimVerdict::Held || v == ClaimVerdict::Ignored || v == ClaimVerdict::NoClaim;
}

}  // namespace ferlane
