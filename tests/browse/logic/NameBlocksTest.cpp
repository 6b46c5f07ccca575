#include "browse/logic/NameBlocks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ferlane {
namespace {

// Fills a store with `before` (names of the given lengths), then adds one more
// name: whether it shares the last block is decided at the block's very end.
// Under AddressSanitizer a terminator written one past a block fails here.
TEST(NameBlocks, ANameGoesToANewBlockExactlyWhenItsTerminatorWouldNotFit) {
  struct Case {
    std::size_t block;
    std::vector<std::size_t> before;
    std::size_t last;
    std::size_t blocks;  // after the last name
  };
  const Case cases[] = {
      {8, {3}, 3, 1},                                    // the terminator takes the block's last unit
      {8, {3}, 4, 2},                                    // the terminator would fall one past the end
      {8, {}, 8, 1},                                     // longer than a block: a block of its own
      {8, {6}, 0, 1},                                    // an empty name is its terminator alone
      {NameBlocks::kBlock, std::vector<std::size_t>(127, 255), 255, 1},  // 128 x 256 units fill it
      {NameBlocks::kBlock, std::vector<std::size_t>(127, 255), 256, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "block " << c.block << ", last name " << c.last);
    NameBlocks names(c.block);
    std::vector<std::wstring> texts;
    std::vector<const wchar_t*> stored;
    std::vector<std::size_t> lengths = c.before;
    lengths.push_back(c.last);
    for (std::size_t i = 0; i < lengths.size(); ++i) {
      texts.emplace_back(lengths[i], static_cast<wchar_t>(L'a' + i % 26));
      stored.push_back(names.Add(texts.back().c_str(), texts.back().size()));
    }
    EXPECT_EQ(names.BlockCount(), c.blocks);
    // Every name reads back whole and terminated, none overwritten by a later one.
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(std::wstring(stored[i]), texts[i]);
  }
}

TEST(NameBlocks, ClearStartsAgainWithNoBlock) {
  NameBlocks names(8);
  names.Add(L"abcdef", 6);
  names.Add(L"abc", 3);
  ASSERT_EQ(names.BlockCount(), 2u);
  names.Clear();
  EXPECT_EQ(names.BlockCount(), 0u);
  EXPECT_EQ(std::wstring(names.Add(L"xyz", 3)), L"xyz");
  EXPECT_EQ(names.BlockCount(), 1u);
}

}  // namespace
}  // namespace ferlane
