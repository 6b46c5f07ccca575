// The list-file reader on any bytes: it must never crash, and whatever it
// reads must place every path line in a record of its own, and every other
// non-blank line as a type word or a stray.
#include <cstdint>
#include <cstdlib>
#include <string_view>

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
  std::size_t record = 0, words = 0;
  for (const auto& line : text.lines) {
    if (ferlane::IsBlankLine(line)) continue;
    if (!ferlane::IsPathLine(line)) {
      ++words;
      continue;
    }
    if (record >= read.records.size() || read.records[record].path != line) std::abort();
    ++record;
  }
  if (record != read.records.size()) std::abort();
  std::size_t typed = 0;
  for (const auto& r : read.records) typed += r.typed ? 1 : 0;
  if (typed + read.strays.size() != words) std::abort();
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
