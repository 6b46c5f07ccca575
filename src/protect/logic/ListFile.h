#pragma once
// The per-user list file: two lines per protected item (the full path, then
// the type word), every line ended by CR LF, an empty list as an empty file.
// Here only bytes and lines; the code page is chosen by the caller.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
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
// UTF-8 without one; "cmd /u" and other tools write UTF-16 without a mark.
enum class ListEncoding { Ansi, Utf8WithBom, Utf8, Utf16Le, Utf16Be, Utf16UnmarkedLe, Utf16UnmarkedBe };

// By the byte-order mark; without one, UTF-16 when the first line holds a
// NUL and the first unit is a character beside a NUL byte (UnmarkedUtf16),
// UTF-8 when the bytes are valid UTF-8 and not plain ASCII; otherwise the
// ANSI code page. The same test reads standard input.
ListEncoding DetectListEncoding(std::string_view bytes);
// What a NUL in the first line tells of bytes without a mark: none there,
// UTF-16 of either order (as "cmd /u" and many tools write it), or neither.
enum class NulForm { None, Utf16Le, Utf16Be, Neither };
NulForm UnmarkedUtf16(std::string_view bytes);

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

// Splits decoded text the way SplitListLines splits bytes; a NUL ends it,
// and the text before it on its line is no line: only whole lines count.
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

// The line a record's type is written as: its type word, or no line at all
// (a null view) while the type is not known.
std::wstring_view TypeLine(ItemType type);

// Every line followed by CR LF; no lines give no bytes.
std::string JoinListLines(const std::vector<std::string>& lines);

struct ListRecord {
  std::wstring path;
  ItemType type = ItemType::File;
  // False when no type word followed the path (a list written one path per
  // line): its type is then Unknown until the program reads the item.
  bool typed = true;
};

// A line that holds "\", "/" or ":" is a path and begins an item, whatever
// came before it; a line that begins with ";" or "#" (blanks before it
// aside) is a remark, kept and never an item; any other line is a type word
// or a word that is none. A blank line is no line at all.
bool IsPathLine(std::wstring_view line);
bool IsRemarkLine(std::wstring_view line);
bool IsBlankLine(std::wstring_view line);

// The digest the spellings of one path share: the path a person meant
// (MeantPath), its letter case folded.
std::uint64_t ListPathKey(std::wstring_view pathLine);

// Where the items of a list file's lines are: each record's path line, its
// type and whether a type word named it; the type words that follow no path
// (a stray word) and the other words that follow a path, which nothing can
// place; and the remarks.
struct ListRecordAt {
  std::size_t line = 0;
  ItemType type = ItemType::Unknown;
  bool typed = false;
};
struct ListLayout {
  std::vector<ListRecordAt> records;
  std::vector<std::size_t> strays;   // line numbers, from 0
  std::vector<std::size_t> words;    // words after a path that are no type word
  std::vector<std::size_t> remarks;  // remark lines
  std::size_t joined = 0;            // path lines joined to an earlier record of the same path
};

// Reads any line shape so that no shift of a line loses an item: a file the
// program wrote (path, type word, path, type word...) reads as it always
// did; an empty line anywhere, a missing type word, a list of one path per
// line read every path. The spellings of one path (ListPathKey) are one
// record, at the first one's place, with the first type word given.
// line(i) gives the i-th of count lines.
template <class Line>
ListLayout LayOutListLines(std::size_t count, const Line& line) {
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  ListLayout layout;
  layout.records.reserve(count / 2 + 1);
  std::unordered_map<std::uint64_t, std::size_t> seen;
  seen.reserve(count / 2 + 1);
  std::size_t open = kNone;  // the record whose type word may come next
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring_view text = line(i);
    if (IsBlankLine(text)) continue;
    if (IsRemarkLine(text)) {
      layout.remarks.push_back(i);
    } else if (IsPathLine(text)) {
      const auto [at, fresh] = seen.emplace(ListPathKey(text), layout.records.size());
      if (fresh) layout.records.push_back({i, ItemType::Unknown, false});
      else ++layout.joined;
      open = at->second;
    } else if (open == kNone) {
      layout.strays.push_back(i);
    } else {
      ListRecordAt& record = layout.records[open];
      ItemType type = ItemType::Unknown;
      if (!ReadTypeWord(text, type)) {
        layout.words.push_back(i);
      } else if (!record.typed) {
        record.type = type;
        record.typed = true;
      }
      open = kNone;
    }
  }
  return layout;
}

// The records of a list file's lines, and the texts of the lines nothing
// places: stray words, and words after a path that are no type word.
struct ListRecords {
  std::vector<ListRecord> records;
  std::vector<std::wstring> strays;
  std::vector<std::wstring> words;
  std::size_t joined = 0;
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
