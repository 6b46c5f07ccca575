// The list-file reader on any bytes: it must never crash, and whatever it
// reads must place every path line in a record of its own or join it to the
// first spelling of its path, keep remarks out of the records, name every
// other word, and make rows of whole lines only.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "protect/logic/ListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Windows-1252 is close enough to Latin-1 for the reader's purposes here.
  auto latin1 = [](std::string_view in, std::wstring& out) {
    out.clear();
    for (unsigned char c : in) out += static_cast<wchar_t>(c);
    return true;
  };
  const ferlane::ListText text = ferlane::DecodeListText(bytes, latin1);
  const auto read = ferlane::ReadListRecords(text.lines);
  std::size_t record = 0, words = 0, joined = 0;
  std::unordered_set<std::uint64_t> keys;
  for (const auto& line : text.lines) {
    if (ferlane::IsBlankLine(line) || ferlane::IsRemarkLine(line)) continue;
    if (!ferlane::IsPathLine(line)) {
      ++words;
      continue;
    }
    // Every path line is a record of its own, or joined to the first
    // spelling of its path.
    if (!keys.insert(ferlane::ListPathKey(line)).second) {
      ++joined;
      continue;
    }
    if (record >= read.records.size() || read.records[record].path != line) std::abort();
    ++record;
  }
  if (record != read.records.size() || joined != read.joined) std::abort();
  std::size_t typed = 0;
  for (const auto& r : read.records) {
    typed += r.typed ? 1 : 0;
    if (r.typed == (r.type == ferlane::ItemType::Unknown)) std::abort();
  }
  // Every other line is a type word, a stray or a word that is none; only a
  // type word after a joined spelling goes unnamed.
  const std::size_t named = typed + read.strays.size() + read.words.size();
  if (named > words || words - named > joined) std::abort();
  // Only whole lines: with a NUL in single-byte text, the lines are exactly
  // those wholly before the NUL's line.
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos && ferlane::DetectListEncoding(bytes) == ferlane::ListEncoding::Ansi) {
    const std::size_t end = bytes.find_last_of("\r\n", nul);
    std::vector<std::wstring> before;
    for (const auto& line : ferlane::SplitListLines(bytes.substr(0, end == std::string_view::npos ? 0 : end + 1)))
      before.emplace_back(line.begin(), line.end());
    for (auto& line : before)
      for (auto& c : line) c = static_cast<wchar_t>(static_cast<unsigned char>(c));
    if (text.whole || text.lines != before) std::abort();
  }
  // A text without NUL or line ends splits into no more lines than it has ends.
  for (const auto& line : text.lines)
    if (line.find_first_of(L"\r\n") != std::wstring::npos || line.find(L'\0') != std::wstring::npos) std::abort();
  // Written back as the program writes (the code page here Latin-1, UTF-8
  // behind a mark when a line has no spelling there), the lines read again
  // the same.
  ferlane::CharCacheEncoder encoder([](wchar_t c, std::string& out) {
    if (static_cast<std::uint32_t>(c) > 0xFF) return false;
    out.assign(1, static_cast<char>(c));
    return true;
  });
  std::string written;
  bool ansi = true;
  for (const auto& line : text.lines) {
    ansi = ansi && encoder.Append(line, written);
    written += "\r\n";
  }
  if (!ansi || ferlane::DetectListEncoding(written) != ferlane::ListEncoding::Ansi) {
    written.assign(ferlane::kUtf8Bom);
    for (const auto& line : text.lines) {
      ferlane::AppendUtf8(line, written);
      written += "\r\n";
    }
  }
  const ferlane::ListText again = ferlane::DecodeListText(written, latin1);
  if (!again.whole || again.lines != text.lines) std::abort();
  // The byte splitter and the old joiner agree.
  const auto raw = ferlane::SplitListLines(bytes);
  if (ferlane::SplitListLines(ferlane::JoinListLines(raw)) != raw) std::abort();
  return 0;
}
