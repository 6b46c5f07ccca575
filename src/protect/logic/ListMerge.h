#pragma once
// Two writers of one list file (a second window, a script, an editor): at
// close the window's rows meet the file as it is now, against the file as
// the window last read or wrote it (the base), as version control merges a
// file. Each side's additions and removals are kept; each path once. Paths
// are compared by the digest of their folded form (PathKey), so a long
// list costs a few bytes a row.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "protect/logic/HideShow.h"

namespace ferlane {

struct MergeRow {
  std::uint64_t key = 0;  // PathKey of the folded path
  ItemType type = ItemType::File;
  // A window's row added since the base (a drop): kept whatever the disk says.
  bool addedHere = false;
};

// One row of the merged list: a window row or a disk row, by index, with
// the type word it is written with.
struct MergePick {
  bool fromDisk = false;
  std::size_t index = 0;
  ItemType type = ItemType::File;
};

struct MergeResult {
  std::vector<MergePick> rows;  // the window's rows in their order, then the disk's new ones in its order
  std::size_t addedOnDisk = 0;    // rows another writer added, now in the list
  std::size_t removedOnDisk = 0;  // paths another writer removed, now gone from the list
  bool Changed() const { return addedOnDisk || removedOnDisk || typeChanged || writtenBack; }
  bool typeChanged = false;  // a type word another writer changed
  // The file held no row of a base that had some (deleted, emptied): no
  // writer means that, so the window's rows are written back; how many.
  std::size_t writtenBack = 0;
};

// Rows added on disk are kept; rows removed on disk stay removed unless this
// window added them; rows the window removed stay removed; rows added here
// are kept; each path is written once, whichever side held it twice. A type
// word changed on disk wins over the base. A disk without rows while the
// base had some is no edit: the window's rows stay. sameFile false (the
// file under the name is not the one the base was read from, or that cannot
// be told): rows missing on disk are kept, only the window's removals apply.
MergeResult MergeRows(const std::vector<MergeRow>& base, const std::vector<MergeRow>& window,
                      const std::vector<MergeRow>& disk, bool sameFile = true);

}  // namespace ferlane
