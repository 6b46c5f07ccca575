#include "protect/logic/ListMerge.h"

#include <gtest/gtest.h>

#include "app/logic/ListWindow.h"

namespace ferlane {
namespace {

TEST(ListMergeTest, OnlyWhatAnotherWriterAddedComesBackOnce) {
  using Keys = std::vector<std::uint64_t>;
  struct Case {
    const char* what;
    Keys base, current, disk;
    std::vector<std::size_t> added;
  } cases[] = {
      {"unchanged file", {1, 2}, {1, 2, 3}, {1, 2}, {}},
      {"another writer appended", {1, 2}, {1, 2}, {1, 2, 4}, {2}},
      {"this list removed a row: it stays removed", {1, 2}, {1}, {1, 2, 4}, {2}},
      {"both added the same path", {1}, {1, 5}, {1, 5}, {}},
      {"the other wrote a path twice", {}, {}, {7, 8, 7}, {0, 1}},
      {"no file when read", {}, {3}, {9, 3}, {0}},
  };
  for (const Case& c : cases) EXPECT_EQ(RowsAddedOnDisk(c.base, c.current, c.disk), c.added) << c.what;
}

TEST(ListMergeTest, KeysAndTheWindowsMutexNameFollowThePathOnly) {
  EXPECT_EQ(PathKey(L"C:\\FERLANE\\MARIE"), PathKey(L"C:\\FERLANE\\MARIE"));
  EXPECT_NE(PathKey(L"C:\\FERLANE\\MARIE"), PathKey(L"C:\\FERLANE\\MARIO"));
  // Both bytes of a unit count: U+0141 is not U+4101.
  EXPECT_NE(PathKey(L"\u0141"), PathKey(L"\u4101"));
  EXPECT_EQ(ListWindowMutexName(0x0123456789abcdefull), L"Global\\Ferlane-0123456789abcdef");
  EXPECT_EQ(ListWindowMutexName(1), L"Global\\Ferlane-0000000000000001");
}

}  // namespace
}  // namespace ferlane
