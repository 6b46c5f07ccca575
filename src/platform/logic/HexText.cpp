#include "platform/logic/HexText.h"

namespace ferlane {

std::wstring HexDigits(std::uint64_t value, int digits) {
  std::wstring text(static_cast<std::size_t>(digits), L'0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = L"0123456789abcdef"[value & 0xF];
  return text;
}

}  // namespace ferlane
