#include "protect/logic/ListFile.h"

#include "platform/logic/PathFold.h"
#include "platform/logic/Utf8.h"
#include "protect/logic/ExactPath.h"

namespace ferlane {

bool StartsWithUtf8Bom(std::string_view bytes) { return bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom; }

std::vector<std::string> SplitListLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t end = bytes.find('\0');
  if (end != std::string_view::npos) bytes = bytes.substr(0, end);
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t stop = bytes.find_first_of("\r\n", pos);
    if (stop == std::string_view::npos) stop = bytes.size();
    lines.emplace_back(bytes.substr(pos, stop - pos));
    pos = stop;
    if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  return lines;
}

namespace {

void AppendCodePoint(std::wstring& out, char32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (cp >> 10));
      out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
      return;
    }
  }
  out += static_cast<wchar_t>(cp);
}

// Length of the valid UTF-8 sequence at bytes[i] and its code point; 0 when
// the bytes there are not one.
std::size_t Utf8Sequence(std::string_view bytes, std::size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(bytes[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t n;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) n = 2, cp = b0 & 0x1F, min = 0x80;
  else if ((b0 & 0xF0) == 0xE0) n = 3, cp = b0 & 0x0F, min = 0x800;
  else if ((b0 & 0xF8) == 0xF0) n = 4, cp = b0 & 0x07, min = 0x10000;
  else return 0;
  if (bytes.size() - i < n) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(bytes[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

NulForm UnmarkedUtf16(std::string_view bytes) {
  // Only the first line is looked at: standard input may still be coming,
  // and a NUL further down a list is a cut, told as such.
  if (bytes.substr(0, bytes.find_first_of("\r\n")).find('\0') == std::string_view::npos) return NulForm::None;
  if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') return NulForm::Utf16Le;
  if (bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] != '\0') return NulForm::Utf16Be;
  return NulForm::Neither;
}

ListEncoding DetectListEncoding(std::string_view bytes) {
  if (StartsWithUtf8Bom(bytes)) return ListEncoding::Utf8WithBom;
  if (bytes.starts_with("\xFF\xFE")) return ListEncoding::Utf16Le;
  if (bytes.starts_with("\xFE\xFF")) return ListEncoding::Utf16Be;
  switch (UnmarkedUtf16(bytes)) {
    case NulForm::Utf16Le: return ListEncoding::Utf16UnmarkedLe;
    case NulForm::Utf16Be: return ListEncoding::Utf16UnmarkedBe;
    case NulForm::None:
    case NulForm::Neither: break;
  }
  bool nonAscii = false;
  char32_t cp;
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t n = Utf8Sequence(bytes, i, cp);
    if (n == 0) return ListEncoding::Ansi;
    nonAscii |= n > 1;
    i += n;
  }
  return nonAscii ? ListEncoding::Utf8 : ListEncoding::Ansi;
}

bool DecodeUtf8(std::string_view bytes, std::wstring& out) {
  out.clear();
  out.reserve(bytes.size());
  char32_t cp;
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t n = Utf8Sequence(bytes, i, cp);
    if (n == 0) return false;
    AppendCodePoint(out, cp);
    i += n;
  }
  return true;
}

bool DecodeUtf16(std::string_view bytes, bool bigEndian, std::wstring& out) {
  out.clear();
  out.reserve(bytes.size() / 2);
  auto unit = [&](std::size_t i) -> char16_t {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  };
  const std::size_t units = bytes.size() / 2;
  for (std::size_t u = 0; u < units; ++u) {
    char16_t c = unit(u * 2);
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (u + 1 == units) return false;
      char16_t d = unit((u + 1) * 2);
      if (d < 0xDC00 || d > 0xDFFF) return false;
      AppendCodePoint(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (d - 0xDC00));
      ++u;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    } else {
      AppendCodePoint(out, c);
    }
  }
  return bytes.size() % 2 == 0;
}

std::vector<LineSpan> ListLineSpans(std::wstring_view text, bool* whole) {
  std::vector<LineSpan> spans;
  std::size_t end = text.find(L'\0');
  if (whole) *whole = end == std::wstring_view::npos;
  if (end != std::wstring_view::npos) {
    // The line a NUL cuts is no line: its start may be half a name.
    const std::size_t lineStart = text.find_last_of(L"\r\n", end);
    text = text.substr(0, lineStart == std::wstring_view::npos ? 0 : lineStart + 1);
  }
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t stop = text.find_first_of(L"\r\n", pos);
    if (stop == std::wstring_view::npos) stop = text.size();
    spans.push_back({pos, stop - pos});
    pos = stop;
    if (pos < text.size() && text[pos] == L'\r') ++pos;
    if (pos < text.size() && text[pos] == L'\n') ++pos;
  }
  return spans;
}

ListText SplitListText(std::wstring_view text) {
  ListText result;
  const std::vector<LineSpan> spans = ListLineSpans(text, &result.whole);
  result.lines.reserve(spans.size());
  for (const LineSpan& span : spans) result.lines.emplace_back(text.substr(span.at, span.length));
  return result;
}

bool DecodeListBytesToText(std::string_view bytes, const AnsiDecoder& decodeAnsi, std::wstring& text) {
  switch (DetectListEncoding(bytes)) {
    case ListEncoding::Utf8WithBom: return DecodeUtf8(bytes.substr(kUtf8Bom.size()), text);
    case ListEncoding::Utf8: return DecodeUtf8(bytes, text);
    case ListEncoding::Utf16Le: return DecodeUtf16(bytes.substr(2), false, text);
    case ListEncoding::Utf16Be: return DecodeUtf16(bytes.substr(2), true, text);
    case ListEncoding::Utf16UnmarkedLe: return DecodeUtf16(bytes, false, text);
    case ListEncoding::Utf16UnmarkedBe: return DecodeUtf16(bytes, true, text);
    case ListEncoding::Ansi: break;
  }
  return decodeAnsi(bytes, text);
}

ListText DecodeListText(std::string_view bytes, const AnsiDecoder& decodeAnsi) {
  std::wstring text;
  const bool decoded = DecodeListBytesToText(bytes, decodeAnsi, text);
  ListText result = SplitListText(text);
  result.whole = result.whole && decoded;
  return result;
}

bool IsListTempName(std::wstring_view name) {
  auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
  if (name.size() < 8 || name.size() > 11) return false;
  const std::wstring_view head = name.substr(0, 3), tail = name.substr(name.size() - 4);
  for (std::size_t i = 0; i < 3; ++i)
    if (lower(head[i]) != L"fer"[i]) return false;
  for (std::size_t i = 0; i < 4; ++i)
    if (lower(tail[i]) != L".tmp"[i]) return false;
  for (wchar_t c : name.substr(3, name.size() - 7)) {
    c = lower(c);
    if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'))) return false;
  }
  return true;
}

std::wstring ListBackupName(const std::wstring& fileName, int attempt) {
  return fileName + L".bak" + (attempt > 1 ? std::to_wstring(attempt) : std::wstring());
}

void AppendUtf8(std::wstring_view text, std::string& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = NextCodePoint(text, i);
    // A lone surrogate has no UTF-8 spelling: the list keeps a visible mark instead.
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
    AppendUtf8CodePoint(cp, out);
  }
}

namespace {
constexpr std::uint32_t kNone = 1;
constexpr std::uint32_t kKnown = 0x80000000u;
}  // namespace

CharCacheEncoder::CharCacheEncoder(Convert convert) : convert_(std::move(convert)), cache_(0x10000, 0) {}

std::uint32_t CharCacheEncoder::Entry(wchar_t c, std::string& uncached) {
  const auto unit = static_cast<std::uint32_t>(c);
  // Beyond UTF-16 (wchar_t is wider off Windows): no code page spells it.
  if (unit > 0xFFFF) return kNone;
  std::uint32_t entry = cache_[unit];
  if (entry != 0) return entry;
  std::string bytes;
  if (!convert_(c, bytes) || bytes.empty() || bytes.size() > 4) return cache_[unit] = kNone;
  // A fourth byte does not fit an entry: such a character is not cached.
  if (bytes.size() == 4) {
    uncached = bytes;
    return kKnown;
  }
  entry = kKnown | static_cast<std::uint32_t>(bytes.size()) << 24;
  for (std::size_t k = 0; k < bytes.size(); ++k)
    entry |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k])) << (8 * k);
  return cache_[unit] = entry;
}

bool CharCacheEncoder::Append(std::wstring_view text, std::string& out) {
  // Room for one byte per character, the usual case; more is made as needed.
  const std::size_t start = out.size();
  std::size_t at = start;
  out.resize(at + text.size());
  std::string uncached;
  std::size_t i = 0;
  while (i < text.size()) {
    {
      // The characters already met, straight from the cache: the bulk of a list.
      const std::uint32_t* cache = cache_.data();
      char* p = out.data() + at;
      const wchar_t* c = text.data() + i;
      const wchar_t* end = text.data() + text.size();
      for (; c < end; ++c, ++p) {
        const auto unit = static_cast<std::uint32_t>(*c);
        if (unit > 0xFFFF) break;
        const std::uint32_t entry = cache[unit];
        if ((entry & 0xFF000000u) != (kKnown | 1u << 24)) break;
        *p = static_cast<char>(entry & 0xFF);
      }
      at = static_cast<std::size_t>(p - out.data());
      i = static_cast<std::size_t>(c - text.data());
    }
    if (i == text.size()) break;
    const std::uint32_t entry = Entry(text[i++], uncached);
    if (entry == kNone) {
      out.resize(start);
      return false;
    }
    const std::uint32_t length = (entry >> 24) & 0x7F;
    const std::size_t size = length ? length : uncached.size();
    out.resize(out.size() + size - 1);
    if (length == 0) {
      out.replace(at, uncached.size(), uncached);
    } else {
      for (std::uint32_t k = 0; k < length; ++k) out[at + k] = static_cast<char>((entry >> (8 * k)) & 0xFF);
    }
    at += size;
  }
  return true;
}

std::string JoinListLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool IsPathLine(std::wstring_view line) { return line.find_first_of(L"\\/:") != std::wstring_view::npos; }

bool IsBlankLine(std::wstring_view line) { return line.find_first_not_of(L" \t") == std::wstring_view::npos; }

bool IsRemarkLine(std::wstring_view line) {
  const std::size_t first = line.find_first_not_of(L" \t");
  return first != std::wstring_view::npos && (line[first] == L';' || line[first] == L'#');
}

std::uint64_t ListPathKey(std::wstring_view pathLine) {
  std::wstring meant = MeantPath(pathLine);
  FoldPathInPlace(meant);
  return PathKey(meant);
}

std::wstring_view TypeLine(ItemType type) {
  return type == ItemType::Unknown ? std::wstring_view() : std::wstring_view(TypeWord(type));
}

ListRecords ReadListRecords(const std::vector<std::wstring>& lines) {
  const ListLayout layout = LayOutListLines(lines.size(), [&](std::size_t i) { return std::wstring_view(lines[i]); });
  ListRecords read;
  read.records.reserve(layout.records.size());
  for (const ListRecordAt& at : layout.records) read.records.push_back({lines[at.line], at.type, at.typed});
  for (std::size_t line : layout.strays) read.strays.push_back(lines[line]);
  for (std::size_t line : layout.words) read.words.push_back(lines[line]);
  read.joined = layout.joined;
  return read;
}

std::wstring ListFilePath(const std::wstring& programFolder, const std::wstring& userName) {
  std::wstring path = programFolder;
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path + userName;
}

}  // namespace ferlane
