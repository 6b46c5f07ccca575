#include "platform/logic/PathFold.h"

namespace ferlane {

wchar_t FoldPathChar(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(c);
  if (u < 0x80) return u >= 'a' && u <= 'z' ? static_cast<wchar_t>(u - 0x20) : c;
  // Latin-1: à..þ to À..Þ, but not ÷; ÿ to Ÿ.
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<wchar_t>(u - 0x20);
  if (u == 0xFF) return static_cast<wchar_t>(0x178);
  // Latin Extended-A: pairs of capital and small letters, the small one odd,
  // but for ı, ĸ and ŉ, which have no pair, and the run Ĺ..ň and Ź..ž,
  // where the small letter is the even one.
  if (u >= 0x100 && u <= 0x17F) {
    if (u == 0x131 || u == 0x138 || u == 0x149 || u == 0x17F) return c;
    const bool shifted = (u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E);
    if (shifted) return (u % 2 == 0) ? static_cast<wchar_t>(u - 1) : c;
    return (u % 2 == 1) ? static_cast<wchar_t>(u - 1) : c;
  }
  // Greek: α..ω to Α..Ω (final ς to Σ), accented ά έ ή ί ό ύ ώ too.
  if (u >= 0x3B1 && u <= 0x3CB) return static_cast<wchar_t>(u == 0x3C2 ? 0x3A3 : u - 0x20);
  if (u == 0x3AC) return static_cast<wchar_t>(0x386);
  if (u >= 0x3AD && u <= 0x3AF) return static_cast<wchar_t>(u - 0x25);
  if (u == 0x3CC) return static_cast<wchar_t>(0x38C);
  if (u == 0x3CD || u == 0x3CE) return static_cast<wchar_t>(u - 0x3F);
  // Cyrillic: а..я to А..Я, ѐ..џ to Ѐ..Џ, and the pairs from Ѡ to ҁ and Ґ to ӿ.
  if (u >= 0x430 && u <= 0x44F) return static_cast<wchar_t>(u - 0x20);
  if (u >= 0x450 && u <= 0x45F) return static_cast<wchar_t>(u - 0x50);
  if ((u >= 0x460 && u <= 0x481) || (u >= 0x48A && u <= 0x4BF) || (u >= 0x4D0 && u <= 0x4FF))
    return (u % 2 == 1) ? static_cast<wchar_t>(u - 1) : c;
  if (u >= 0x4C1 && u <= 0x4CE) return (u % 2 == 0) ? static_cast<wchar_t>(u - 1) : c;
  // Fullwidth ａ..ｚ.
  if (u >= 0xFF41 && u <= 0xFF5A) return static_cast<wchar_t>(u - 0x20);
  return c;
}

void FoldPathInPlace(std::wstring& path) {
  for (wchar_t& c : path) c = FoldPathChar(c);
}

std::wstring FoldPath(std::wstring_view path) {
  std::wstring folded(path);
  FoldPathInPlace(folded);
  return folded;
}

bool SamePathText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldPathChar(a[i]) != FoldPathChar(b[i])) return false;
  return true;
}

namespace {
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
}  // namespace

std::uint64_t PathKey(std::wstring_view foldedPath) {
  std::uint64_t hash = kFnvOffset;
  for (wchar_t c : foldedPath) {
    const auto unit = static_cast<std::uint16_t>(c);
    for (int shift : {0, 8}) {
      hash ^= (unit >> shift) & 0xFFu;
      hash *= kFnvPrime;
    }
  }
  return hash;
}

}  // namespace ferlane
