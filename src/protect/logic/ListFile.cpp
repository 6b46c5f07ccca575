#include "protect/logic/ListFile.h"

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

std::vector<ListRecord> RecordsFromLines(const std::vector<std::wstring>& lines) {
  std::vector<ListRecord> records;
  records.reserve((lines.size() + 1) / 2);
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    ListRecord record;
    record.path = lines[i];
    record.type = i + 1 < lines.size() ? TypeFromLine(lines[i + 1]) : ItemType::File;
    records.push_back(std::move(record));
  }
  return records;
}

std::vector<std::wstring> LinesFromRecords(const std::vector<ListRecord>& records) {
  std::vector<std::wstring> lines;
  lines.reserve(records.size() * 2);
  for (const auto& record : records) {
    lines.push_back(record.path);
    lines.emplace_back(TypeWord(record.type));
  }
  return lines;
}

std::wstring ListFilePath(const std::wstring& programFolder, const std::wstring& userName) {
  std::wstring path = programFolder;
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path + userName;
}

}  // namespace ferlane
