#pragma once
// A move that never replaces: what the program moves without asking anyone
// (the command line, the joining of older stores and list files) must leave
// alone a name that appeared at the destination, even a moment before.
#include <windows.h>

#include <string>

namespace ferlane {

// Moves the file or folder `from` to the exact path `to`. The name is checked
// by the move itself, not beforehand: on one volume a rename that fails on an
// existing name; across volumes a copy that refuses every existing name.
// Across volumes the move is whole or nothing: the source is first renamed
// aside on its own volume, which fails while anything inside it is open (then
// nothing moves and that reason is given); a junction or other link inside
// is refused, never followed; a copy that fails is removed and the source
// put back. Should the source's delete then fail part-way, the copy at `to`
// is the only whole one and stays: the move succeeds, and *remains (when
// given) names where what is left of the source lies, under its aside name.
// Should the put-back of a failed copy fail, the move fails with the copy's
// reason and *remains names the source, whole under its aside name.
// ERROR_SUCCESS, ERROR_ALREADY_EXISTS or ERROR_FILE_EXISTS when `to` is taken
// (nothing moved), or the system's reason.
DWORD MoveWithoutReplacing(const std::wstring& from, const std::wstring& to, std::wstring* remains = nullptr);

// Whether a result of MoveWithoutReplacing means "the name is taken".
inline bool NameTaken(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

}  // namespace ferlane
