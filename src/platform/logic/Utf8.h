#pragma once
// UTF-8 from the program's wide text, shared by the list file and the
// password hash. No <windows.h>: built and tested natively too.
#include <cstddef>
#include <string>
#include <string_view>

namespace ferlane {

// The code point at text[i], joining a surrogate pair (and then stepping i
// over its second half). A lone surrogate comes back as it is.
char32_t NextCodePoint(std::wstring_view text, std::size_t& i);

// Appends the UTF-8 bytes of one code point.
void AppendUtf8CodePoint(char32_t cp, std::string& out);

}  // namespace ferlane
