#pragma once
// The one spelling of a number in hexadecimal the program writes into names
// and values: lower-case digits, zero-padded to a fixed width.
#include <cstdint>
#include <string>

namespace ferlane {

// The low `digits` hexadecimal digits of value, most significant first.
std::wstring HexDigits(std::uint64_t value, int digits);

}  // namespace ferlane
