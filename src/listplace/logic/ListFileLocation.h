#pragma once
// Where an earlier version may have left the user's list file when it is not
// beside the program: in the user's VirtualStore copy of the program's folder
// (a version with no execution level in its manifest, run under UAC), and
// beside the program of the other width in its own Program Files folder.
#include <string>
#include <string_view>
#include <vector>

namespace ferlane {

// programFolder ends with "\"; programFiles32 and programFiles64 are the
// 32-bit and 64-bit programs' folders (the 64-bit one empty on a 32-bit
// Windows). The candidates in the order they are tried.
std::vector<std::wstring> OlderListFiles(std::wstring_view programFolder, std::wstring_view userName,
                                         std::wstring_view programFiles32, std::wstring_view programFiles64,
                                         std::wstring_view localAppData);

}  // namespace ferlane
