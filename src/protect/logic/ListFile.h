#pragma once
// The per-user list file: two lines per protected item (the full path, then
// the type word), every line ended by CR LF, an empty list as an empty file.
// Here only bytes and lines; the code page is chosen by the caller.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "protect/logic/HideShow.h"

namespace ferlane {

// Marks a list file written as UTF-8 (one that the ANSI code page could not hold).
inline constexpr std::string_view kUtf8Bom{"\xEF\xBB\xBF", 3};

bool StartsWithUtf8Bom(std::string_view bytes);

// Splits the file's bytes into lines: CR LF, a lone CR or a lone LF ends a
// line; a last line without an end still counts; a final line end makes no
// extra empty line; the text stops at the first NUL byte.
std::vector<std::string> SplitListLines(std::string_view bytes);

// How a list file's bytes are to be read. Files the program writes are ANSI
// or UTF-8 behind a mark; Notepad also saves UTF-16 with a mark and, today,
// UTF-8 without one.
enum class ListEncoding { Ansi, Utf8WithBom, Utf8, Utf16Le, Utf16Be };

// By the byte-order mark; without one, UTF-8 when the bytes are valid UTF-8
// and not plain ASCII; otherwise the ANSI code page.
ListEncoding DetectListEncoding(std::string_view bytes);

// Strict decoders: false when a byte sequence does not decode (a stray byte,
// an overlong form, a lone surrogate, an odd byte count). out then holds the
// text up to the fault. wchar_t is UTF-16 on Windows, UTF-32 elsewhere.
bool DecodeUtf8(std::string_view bytes, std::wstring& out);
bool DecodeUtf16(std::string_view bytes, bool bigEndian, std::wstring& out);

// The lines of a list file and whether the whole file went into them.
struct ListText {
  std::vector<std::wstring> lines;
  // False when a NUL or a byte that does not decode cut the text short: the
  // file holds more than the lines, and must not be replaced unkept.
  bool whole = true;
};

// Splits decoded text the way SplitListLines splits bytes; a NUL ends it.
ListText SplitListText(std::wstring_view text);

// Where those lines lie in text, so a long list can keep the text itself
// rather than a copy of every line. whole: false when a NUL cut the text.
struct LineSpan {
  std::size_t at = 0, length = 0;
};
std::vector<LineSpan> ListLineSpans(std::wstring_view text, bool* whole = nullptr);

// Decodes the bytes of a list file by DetectListEncoding; decodeAnsi converts
// the ANSI code page (the system's), false when a byte has no character.
using AnsiDecoder = std::function<bool(std::string_view, std::wstring&)>;
ListText DecodeListText(std::string_view bytes, const AnsiDecoder& decodeAnsi);
// Only the decoding: false when some bytes do not decode (text then holds
// what did).
bool DecodeListBytesToText(std::string_view bytes, const AnsiDecoder& decodeAnsi, std::wstring& text);

// UTF-8 of UTF-16 (or, where wchar_t is wider, UTF-32) text; a lone
// surrogate becomes U+FFFD, as the system's converter makes it.
void AppendUtf8(std::wstring_view text, std::string& out);

// Encodes text into a code page one character at a time, asking convert
// only once for each distinct character: a long list repeats few of them.
// Exact for the stateless code pages the system uses as its ANSI page.
class CharCacheEncoder {
 public:
  // The bytes of one UTF-16 unit in the code page (at most 4); false when
  // it has none there.
  using Convert = std::function<bool(wchar_t, std::string&)>;
  explicit CharCacheEncoder(Convert convert);
  // Appends text; false, with out as it was, when a character has no
  // spelling there.
  bool Append(std::wstring_view text, std::string& out);

 private:
  // The entry of c; a character of four bytes comes back in uncached.
  std::uint32_t Entry(wchar_t c, std::string& uncached);
  Convert convert_;
  // Per UTF-16 unit: 0 not asked yet, 1 no spelling, else
  // 0x80000000 | length << 24 | the bytes, first in the lowest byte
  // (length 0: four bytes, not cached).
  std::vector<std::uint32_t> cache_;
};

// Every line followed by CR LF; no lines give no bytes.
std::string JoinListLines(const std::vector<std::string>& lines);

struct ListRecord {
  std::wstring path;
  ItemType type = ItemType::File;
  // False when no type word followed the path (a list written one path per
  // line): its type is then the file system's.
  bool typed = true;
};

// A line that holds "\", "/" or ":" is a path and begins an item, whatever
// came before it; any other line is a type word ("Dossier", "Fichier", or a
// word that loads as "Fichier"). A blank line is no line at all.
bool IsPathLine(std::wstring_view line);
bool IsBlankLine(std::wstring_view line);

// Where the items of a list file's lines are: each record's path line, its
// type and whether a type word named it; and the type words that follow no
// path (a stray word), which nothing can place.
struct ListRecordAt {
  std::size_t line = 0;
  ItemType type = ItemType::File;
  bool typed = false;
};
struct ListLayout {
  std::vector<ListRecordAt> records;
  std::vector<std::size_t> strays;  // line numbers, from 0
};

// Reads any line shape so that no shift of a line loses an item: a file the
// program wrote (path, type word, path, type word...) reads as it always
// did; an empty line anywhere, a missing type word, a list of one path per
// line read every path. line(i) gives the i-th of count lines.
template <class Line>
ListLayout LayOutListLines(std::size_t count, const Line& line) {
  ListLayout layout;
  layout.records.reserve(count / 2 + 1);
  bool open = false;  // the last record still waits for its type word
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring_view text = line(i);
    if (IsBlankLine(text)) continue;
    if (IsPathLine(text)) {
      layout.records.push_back({i, ItemType::File, false});
      open = true;
    } else if (open) {
      layout.records.back().type = TypeFromLine(text);
      layout.records.back().typed = true;
      open = false;
    } else {
      layout.strays.push_back(i);
    }
  }
  return layout;
}

// The records of a list file's lines, and the stray lines' texts.
struct ListRecords {
  std::vector<ListRecord> records;
  std::vector<std::wstring> strays;
};
ListRecords ReadListRecords(const std::vector<std::wstring>& lines);

// The names GetTempFileName gives the save's temporary files: "fer", one to
// four hexadecimal digits, ".tmp" (any case).
bool IsListTempName(std::wstring_view name);

// Where the original bytes of an unreadable list file are kept: "<name>.bak",
// then "<name>.bak2", "<name>.bak3"... for attempt 1, 2, 3...
std::wstring ListBackupName(const std::wstring& fileName, int attempt);

// The program's folder with one trailing separator, then the user name.
std::wstring ListFilePath(const std::wstring& programFolder, const std::wstring& userName);

}  // namespace ferlane
