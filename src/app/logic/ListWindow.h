#pragma once
// One window per user's list file on the machine: the name a running window
// is known by, made from the digest (PathKey) of the list file's folded path.
#include <cstdint>
#include <string>

namespace ferlane {

// The name of the mutex the window holds while it runs: in the machine-wide
// namespace, so a window of another session counts too.
std::wstring ListWindowMutexName(std::uint64_t key);

}  // namespace ferlane
