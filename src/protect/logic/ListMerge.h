#pragma once
// Two writers of one list file (a second window, a script, an editor): at
// close the window keeps what the other added since it read the file, and
// what it removed itself stays removed. Paths are compared by a digest of
// their folded form (one letter case), so a long list costs 8 bytes a row.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ferlane {

// A 64-bit digest (FNV-1a over the UTF-16 units) of a folded path.
std::uint64_t PathKey(std::wstring_view foldedPath);

// The rows of the file on disk (their keys, in the file's order) that another
// writer added: not in the file when this list read or last wrote it (base),
// not in the list now (current). Each once, in the disk's order, as indices
// into disk.
std::vector<std::size_t> RowsAddedOnDisk(const std::vector<std::uint64_t>& base,
                                         const std::vector<std::uint64_t>& current,
                                         const std::vector<std::uint64_t>& disk);

}  // namespace ferlane
