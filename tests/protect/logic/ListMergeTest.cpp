#include "protect/logic/ListMerge.h"

#include <gtest/gtest.h>

#include "listplace/logic/ListWindow.h"
#include "platform/logic/PathFold.h"

namespace ferlane {
namespace {

TEST(ListMergeTest, BothWritersChangesAreKeptEachPathOnce) {
  constexpr ItemType F = ItemType::File, D = ItemType::Folder;
  // A window row: its key, its type, whether it was dropped since the base.
  struct W {
    std::uint64_t key;
    ItemType type = F;
    bool added = false;
  };
  struct Pick {
    char from;  // 'w' the window's row, 'd' the disk's
    std::size_t index;
    ItemType type = F;
  };
  struct Case {
    const char* what;
    std::vector<std::pair<std::uint64_t, ItemType>> base;
    std::vector<W> window;
    std::vector<std::pair<std::uint64_t, ItemType>> disk;
    std::vector<Pick> rows;
    std::size_t added, removed;
    std::size_t back = 0;    // rows written back to a disk that lost them all
    bool otherFile = false;  // not the file the base was read from
  } cases[] = {
      {"the disk as read, a drop here", {{1, F}, {2, F}}, {{1}, {2}, {3, F, true}}, {{1, F}, {2, F}},
       {{'w', 0}, {'w', 1}, {'w', 2}}, 0, 0},
      {"another writer appended", {{1, F}, {2, F}}, {{1}, {2}}, {{1, F}, {2, F}, {4, D}},
       {{'w', 0}, {'w', 1}, {'d', 2, D}}, 1, 0},
      {"removed here stays removed", {{1, F}, {2, F}}, {{1}}, {{1, F}, {2, F}, {4, F}}, {{'w', 0}, {'d', 2}}, 1, 0},
      {"removed on disk stays removed", {{1, F}, {2, F}}, {{1}, {2}}, {{1, F}}, {{'w', 0}}, 0, 1},
      {"emptied or deleted on disk: no edit, the window's rows are written back", {{1, F}, {2, F}},
       {{1}, {2}, {3, F, true}}, {}, {{'w', 0}, {'w', 1}, {'w', 2}}, 0, 0, 2},
      {"emptied after a removal here: that removal stays", {{1, F}, {2, F}}, {{2}}, {}, {{'w', 0}}, 0, 0, 1},
      {"reduced to some of its rows on disk: an edit", {{1, F}, {2, F}, {3, F}}, {{1}, {2}, {3}}, {{2, F}},
       {{'w', 1}}, 0, 2},
      {"another file under the name: what it lacks stays, the removals here apply", {{1, F}, {2, F}, {3, F}},
       {{1}, {2}}, {{2, F}, {3, F}, {4, F}}, {{'w', 0}, {'w', 1}, {'d', 2}}, 1, 0, 0, true},
      {"dropped again here after the disk removed it", {{1, F}}, {{1, F, true}}, {}, {{'w', 0}}, 0, 0},
      {"both added the same path", {{1, F}}, {{1}, {5, F, true}}, {{1, F}, {5, F}}, {{'w', 0}, {'w', 1}}, 0, 0},
      {"the other wrote a path twice", {}, {}, {{7, F}, {8, F}, {7, F}}, {{'d', 0}, {'d', 1}}, 2, 0},
      {"a type word changed on disk wins", {{1, F}}, {{1, F}}, {{1, D}}, {{'w', 0, D}}, 0, 0},
      {"no file when read", {}, {{3, F, true}}, {{9, F}, {3, F}}, {{'w', 0}, {'d', 0}}, 1, 0},
      {"a path listed twice here is removed twice", {{1, F}, {2, F}}, {{1}, {2}, {1}}, {{2, F}}, {{'w', 1}}, 0, 1},
      {"a path listed twice here is written once", {{1, F}, {2, F}}, {{1}, {2}, {1}}, {{1, F}, {2, F}, {6, F}},
       {{'w', 0}, {'w', 1}, {'d', 2}}, 1, 0},
  };
  for (const Case& c : cases) {
    std::vector<MergeRow> base, window, disk;
    for (auto [key, type] : c.base) base.push_back({key, type});
    for (const W& w : c.window) window.push_back({w.key, w.type, w.added});
    for (auto [key, type] : c.disk) disk.push_back({key, type});
    const MergeResult merged = MergeRows(base, window, disk, !c.otherFile);
    ASSERT_EQ(merged.rows.size(), c.rows.size()) << c.what;
    for (std::size_t k = 0; k < c.rows.size(); ++k) {
      EXPECT_EQ(merged.rows[k].fromDisk, c.rows[k].from == 'd') << c.what << " row " << k;
      EXPECT_EQ(merged.rows[k].index, c.rows[k].index) << c.what << " row " << k;
      EXPECT_EQ(merged.rows[k].type, c.rows[k].type) << c.what << " row " << k;
    }
    EXPECT_EQ(merged.addedOnDisk, c.added) << c.what;
    EXPECT_EQ(merged.removedOnDisk, c.removed) << c.what;
    EXPECT_EQ(merged.writtenBack, c.back) << c.what;
  }
}

TEST(ListWindowMutexName, SpellsTheKeyInSixteenHexDigits) {
  EXPECT_EQ(ListWindowMutexName(0x0123456789abcdefull), L"Global\\Ferlane-0123456789abcdef");
  EXPECT_EQ(ListWindowMutexName(1), L"Global\\Ferlane-0000000000000001");
}

}  // namespace
}  // namespace ferlane
