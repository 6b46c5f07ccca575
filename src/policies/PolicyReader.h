#pragma once
// Reads the administrator's policies (Software\Policies\Ferlane) once at
// start, for the window and the command line alike.
#include "policies/logic/Policies.h"

namespace ferlane {

// The machine's values before the user's; a key that is missing or cannot be
// read is a level that sets nothing. Texts come with their environment
// variables expanded (%COMPUTERNAME%, %USERDOMAIN%, ...).
Policies ReadPolicies();

}  // namespace ferlane
