#include "browse/logic/PathOps.h"

namespace ferlane {
namespace {

bool IsPathDelimiter(wchar_t c) { return c == L'\\' || c == L':'; }

// Position just after the last "\" or ":", 0 when there is none.
std::size_t NameStart(const std::wstring& path) {
  for (std::size_t i = path.size(); i > 0; --i)
    if (IsPathDelimiter(path[i - 1])) return i;
  return 0;
}

wchar_t UpperChar(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 0x20);
  // à..þ map to À..Þ, except the division sign.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);
  if (c == 0xFF) return static_cast<wchar_t>(0x178);
  return c;
}

}  // namespace

std::wstring AddSlash(const std::wstring& s) {
  if (s.empty() || s.back() == L'\\') return s;
  return s + L'\\';
}

std::wstring DelSlash(const std::wstring& s) {
  if (!s.empty() && s.back() == L'\\') return s.substr(0, s.size() - 1);
  return s;
}

std::wstring AddNullTerm(const std::wstring& s) {
  if (s.empty() || s.back() == L'\0') return s;
  return s + L'\0';
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty() || name.empty()) return std::wstring();
  return AddSlash(folder) + name;
}

bool HasInvalidChar(const std::wstring& chars, const std::wstring& text) {
  return !chars.empty() && text.find_first_of(chars) != std::wstring::npos;
}

std::wstring ExtractFileName(const std::wstring& path) { return path.substr(NameStart(path)); }

std::wstring ExtractFilePath(const std::wstring& path) { return path.substr(0, NameStart(path)); }

std::wstring ExtractFileExt(const std::wstring& name) {
  std::size_t dot = name.find_last_of(L'.');
  if (dot == std::wstring::npos || dot < NameStart(name)) return std::wstring();
  return name.substr(dot);
}

std::wstring NameWithoutExt(const std::wstring& path) {
  std::wstring name = ExtractFileName(path);
  // The extension is the name's tail; cutting it there keeps an earlier
  // occurrence of the same text ("a.txt.txt" -> "a.txt", "my.txtfile.txt" -> "my.txtfile").
  return name.substr(0, name.size() - ExtractFileExt(name).size());
}

std::wstring UpperCase(const std::wstring& s) {
  std::wstring r(s);
  for (wchar_t& c : r) c = UpperChar(c);
  return r;
}

bool SameTextIgnoreCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

std::wstring Trim(const std::wstring& s) {
  // Blanks and control characters at either end.
  std::size_t first = 0, last = s.size();
  while (first < last && s[first] <= L' ') ++first;
  while (last > first && s[last - 1] <= L' ') --last;
  return s.substr(first, last - first);
}

}  // namespace ferlane
