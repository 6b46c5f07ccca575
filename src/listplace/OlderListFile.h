#pragma once
#include <string>

namespace ferlane {

// When the user's list file is missing beside the program, moves in the one
// an earlier version left elsewhere (OlderListFiles), never over a file of
// that name; true when one came.
bool AdoptOlderListFile(const std::wstring& programFolder, const std::wstring& userName);

// The file AdoptOlderListFile would move in, found without moving anything;
// empty when it would move none.
std::wstring OlderListFileToAdopt(const std::wstring& programFolder, const std::wstring& userName);

}  // namespace ferlane
