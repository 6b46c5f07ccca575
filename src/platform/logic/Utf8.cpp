#include "platform/logic/Utf8.h"

namespace ferlane {

char32_t NextCodePoint(std::wstring_view text, std::size_t& i) {
  auto cp = static_cast<char32_t>(text[i]);
  if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
    const auto low = static_cast<char32_t>(text[i + 1]);
    if (low >= 0xDC00 && low <= 0xDFFF) {
      ++i;
      return 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  return cp;
}

void AppendUtf8CodePoint(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | ((cp >> 18) & 0x07));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace ferlane
