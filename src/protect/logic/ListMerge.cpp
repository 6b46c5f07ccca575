#include "protect/logic/ListMerge.h"

#include <unordered_map>
#include <unordered_set>

namespace ferlane {

MergeResult MergeRows(const std::vector<MergeRow>& base, const std::vector<MergeRow>& window,
                      const std::vector<MergeRow>& disk, bool sameFile) {
  // A path listed twice keeps its first type word, as it is shown first.
  std::unordered_map<std::uint64_t, ItemType> inBase, onDisk;
  inBase.reserve(base.size());
  onDisk.reserve(disk.size());
  for (const MergeRow& row : base) inBase.emplace(row.key, row.type);
  for (const MergeRow& row : disk) onDisk.emplace(row.key, row.type);
  MergeResult result;
  result.rows.reserve(window.size() + disk.size());
  std::unordered_set<std::uint64_t> kept, removed;
  kept.reserve(window.size());
  // A file deleted or emptied under the window (by hand, an antivirus, a
  // writer that crashed after truncating it) would otherwise take every row
  // with it, and the items would stay hidden with nothing to name them.
  const bool lost = disk.empty() && !base.empty();
  for (std::size_t i = 0; i < window.size(); ++i) {
    const MergeRow& row = window[i];
    const auto was = inBase.find(row.key);
    const auto now = onDisk.find(row.key);
    if (sameFile && !lost && !row.addedHere && was != inBase.end() && now == onDisk.end()) {
      removed.insert(row.key);
      continue;
    }
    if (kept.count(row.key)) continue;  // listed twice here
    ItemType type = row.type;
    if (was != inBase.end() && now != onDisk.end() && now->second != was->second && now->second != type) {
      type = now->second;
      result.typeChanged = true;
    }
    kept.insert(row.key);
    result.rows.push_back({false, i, type});
    if (lost && !row.addedHere) ++result.writtenBack;
  }
  for (std::size_t j = 0; j < disk.size(); ++j) {
    const std::uint64_t key = disk[j].key;
    // In the window already, removed by it, or listed twice on disk.
    if (inBase.count(key) || !kept.insert(key).second) continue;
    result.rows.push_back({true, j, disk[j].type});
    ++result.addedOnDisk;
  }
  result.removedOnDisk = removed.size();
  return result;
}

}  // namespace ferlane
