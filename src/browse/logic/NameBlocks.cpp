#include "browse/logic/NameBlocks.h"

#include <algorithm>

namespace ferlane {

const wchar_t* NameBlocks::Add(const wchar_t* name, std::size_t length) {
  // The name and its terminator must both fit.
  if (used_ + length + 1 > capacity_) {
    capacity_ = std::max(blockChars_, length + 1);
    blocks_.push_back(std::make_unique_for_overwrite<wchar_t[]>(capacity_));
    used_ = 0;
  }
  wchar_t* at = blocks_.back().get() + used_;
  std::copy(name, name + length, at);
  at[length] = L'\0';
  used_ += length + 1;
  return at;
}

void NameBlocks::Clear() {
  std::vector<std::unique_ptr<wchar_t[]>>().swap(blocks_);
  used_ = 0;
  capacity_ = 0;
}

}  // namespace ferlane
