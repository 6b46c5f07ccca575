#pragma once
// The per-user list file: two lines per protected item (the full path, then
// the type word), every line ended by CR LF, an empty list as an empty file.
// Here only bytes and lines; the code page is chosen by the caller.
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

// Every line followed by CR LF; no lines give no bytes.
std::string JoinListLines(const std::vector<std::string>& lines);

struct ListRecord {
  std::wstring path;
  ItemType type = ItemType::File;
};

// Pairs the lines into records. An unpaired last line (never written by the
// program, but a hand-edited file may end so) is kept as a file rather than
// dropped.
std::vector<ListRecord> RecordsFromLines(const std::vector<std::wstring>& lines);
std::vector<std::wstring> LinesFromRecords(const std::vector<ListRecord>& records);

// The program's folder with one trailing separator, then the user name.
std::wstring ListFilePath(const std::wstring& programFolder, const std::wstring& userName);

}  // namespace ferlane
