#include "protect/logic/ListMerge.h"

#include <unordered_set>

namespace ferlane {

std::uint64_t PathKey(std::wstring_view foldedPath) {
  std::uint64_t hash = 14695981039346656037ull;
  for (wchar_t c : foldedPath) {
    const auto unit = static_cast<std::uint16_t>(c);
    for (int shift : {0, 8}) {
      hash ^= (unit >> shift) & 0xFFu;
      hash *= 1099511628211ull;
    }
  }
  return hash;
}

std::vector<std::size_t> RowsAddedOnDisk(const std::vector<std::uint64_t>& base,
                                         const std::vector<std::uint64_t>& current,
                                         const std::vector<std::uint64_t>& disk) {
  std::unordered_set<std::uint64_t> known(base.begin(), base.end());
  known.insert(current.begin(), current.end());
  std::vector<std::size_t> added;
  for (std::size_t i = 0; i < disk.size(); ++i)
    if (known.insert(disk[i]).second) added.push_back(i);
  return added;
}

}  // namespace ferlane
