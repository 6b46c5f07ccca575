#pragma once
// The names of a listing, kept in blocks that never move: a folder of many
// files costs no allocation per name and no copy as the list of rows grows,
// and a stored name stays where it is until Clear.
#include <cstddef>
#include <memory>
#include <vector>

namespace ferlane {

class NameBlocks {
 public:
  // Characters per block; a file name has at most MAX_PATH.
  static constexpr std::size_t kBlock = 32768;

  explicit NameBlocks(std::size_t blockChars = kBlock) : blockChars_(blockChars) {}

  // A NUL-terminated copy of name[0, length), valid until Clear. A name that
  // does not fit a block gets a block of its own size.
  const wchar_t* Add(const wchar_t* name, std::size_t length);
  void Clear();
  std::size_t BlockCount() const { return blocks_.size(); }

 private:
  std::size_t blockChars_;
  std::vector<std::unique_ptr<wchar_t[]>> blocks_;
  std::size_t used_ = 0;      // characters taken in the last block
  std::size_t capacity_ = 0;  // characters the last block holds
};

}  // namespace ferlane
