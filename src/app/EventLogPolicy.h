#pragma once
// The "Journal des événements" policy alone, until the program reads all its
// policies in one place.
namespace ferlane {

// "EventLog" (DWORD) under Software\Policies\Ferlane, the machine's value
// (HKEY_LOCAL_MACHINE) before the user's: 0 writes no event; absent, of
// another type, or any other number writes them.
bool EventLogPolicyEnabled();

}  // namespace ferlane
