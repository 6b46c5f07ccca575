#pragma once
// Where the running program lies, read in this one place.
#include <string>

namespace ferlane {

// The program's full path, however long: the buffer grows past MAX_PATH
// until the path fits.
std::wstring ProgramPath();
// Its folder, with the trailing backslash.
std::wstring ProgramFolder();

}  // namespace ferlane
