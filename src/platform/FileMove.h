#pragma once
// A move that never replaces: what the program moves without asking anyone
// (the command line, the joining of older stores and list files) must leave
// alone a name that appeared at the destination, even a moment before.
#include <windows.h>

#include <string>

namespace ferlane {

// Moves the file or folder `from` to the exact path `to`. The name is checked
// by the move itself, not beforehand: on one volume a rename that fails on an
// existing name; across volumes a copy that refuses every existing name, then
// the delete of the source. ERROR_SUCCESS, ERROR_ALREADY_EXISTS when `to` is
// taken (nothing moved), or the system's reason; a copy that failed half-way
// is removed again and the source stays whole.
DWORD MoveWithoutReplacing(const std::wstring& from, const std::wstring& to);

// Whether a result of MoveWithoutReplacing means "the name is taken".
inline bool NameTaken(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

}  // namespace ferlane
