#include "protect/logic/ExactPath.h"

#include <cwctype>
#include <vector>

namespace ferlane {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// The components after the root, cleaned; `keep` leading ones (the server
// and share of a UNC path) are never taken away by "..".
std::wstring CleanTail(const std::wstring& tail, std::size_t keep) {
  std::vector<std::wstring> parts;
  std::size_t pos = 0;
  while (pos <= tail.size()) {
    std::size_t stop = pos;
    while (stop < tail.size() && !IsSeparator(tail[stop])) ++stop;
    std::wstring part = tail.substr(pos, stop - pos);
    if (part == L"..") {
      if (parts.size() > keep) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(std::move(part));
    }
    pos = stop + 1;
  }
  std::wstring out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += L'\\';
    out += parts[i];
  }
  // A folder path written with a final separator keeps it.
  if (!tail.empty() && IsSeparator(tail.back()) && !out.empty()) out += L'\\';
  return out;
}

}  // namespace

std::wstring ExactPath(const std::wstring& path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) {
    std::wstring out = L"\\\\?\\";
    out += path[0];
    out += L":\\";
    return out + CleanTail(path.substr(3), 0);
  }
  if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    if ((path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3])) return path;
    if (IsSeparator(path[2])) return path;  // three separators name nothing sensible
    std::wstring tail = CleanTail(path.substr(2), 2);
    // Without a share there is no item to address.
    if (tail.find(L'\\') == std::wstring::npos) return path;
    return L"\\\\?\\UNC\\" + tail;
  }
  return path;
}

bool IsUsableListPath(const std::wstring& path) {
  const std::wstring exact = ExactPath(path);
  if (exact.size() <= 4 || exact[0] != L'\\' || exact[1] != L'\\' || exact[3] != L'\\') return false;
  return exact[2] == L'?' || exact[2] == L'.';
}

std::wstring_view TrimListedName(std::wstring_view line) {
  const std::size_t first = line.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  line = line.substr(first, line.find_last_not_of(L" \t") + 1 - first);
  if (line.size() >= 2 && line.front() == L'"' && line.back() == L'"') line = line.substr(1, line.size() - 2);
  return line;
}

std::wstring MeantPath(std::wstring_view line) {
  const std::wstring_view name = TrimListedName(line);
  std::wstring out;
  out.reserve(name.size());
  std::size_t pos = 0;
  // The root keeps its separators: "\\\\" of a share, "C:\\" of a drive, "\\".
  if (name.size() >= 2 && IsSeparator(name[0]) && IsSeparator(name[1])) {
    out = L"\\\\";
    pos = 2;
  } else if (name.size() >= 3 && IsDriveLetter(name[0]) && name[1] == L':' && IsSeparator(name[2])) {
    out = name.substr(0, 2);
    out += L'\\';
    pos = 3;
  } else if (!name.empty() && IsSeparator(name[0])) {
    out = L"\\";
    pos = 1;
  }
  const std::size_t root = out.size();
  while (pos < name.size()) {
    std::size_t stop = pos;
    while (stop < name.size() && !IsSeparator(name[stop])) ++stop;
    const std::wstring_view part = name.substr(pos, stop - pos);
    if (!part.empty() && part != L".") {
      if (out.size() > root) out += L'\\';
      out += part;
    }
    pos = stop + 1;
  }
  return out;
}

bool IsDeviceName(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/:");
  std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  // The system drops trailing blanks and dots, and an extension does not
  // make a device a file ("nul.txt" is NUL).
  while (!name.empty() && (name.back() == L' ' || name.back() == L'.')) name.remove_suffix(1);
  name = name.substr(0, name.find(L'.'));
  while (!name.empty() && name.back() == L' ') name.remove_suffix(1);
  std::wstring upper(name);
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
  if (upper == L"CON" || upper == L"PRN" || upper == L"AUX" || upper == L"NUL" || upper == L"CONIN$" ||
      upper == L"CONOUT$")
    return true;
  return upper.size() == 4 && (upper.compare(0, 3, L"COM") == 0 || upper.compare(0, 3, L"LPT") == 0) &&
         upper[3] >= L'1' && upper[3] <= L'9';
}

}  // namespace ferlane
