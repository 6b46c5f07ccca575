#include "platform/logic/ServerName.h"

namespace ferlane {
namespace {

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
bool Separator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool StartsFolded(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[i]) != prefix[i] && !(Separator(text[i]) && prefix[i] == L'\\')) return false;
  return true;
}

}  // namespace

std::wstring ServerOf(std::wstring_view path) {
  if (StartsFolded(path, L"\\\\?\\unc\\")) path.remove_prefix(8);
  else if (StartsFolded(path, L"\\\\?\\")) path.remove_prefix(4);
  else if (path.size() > 2 && Separator(path[0]) && Separator(path[1]) && path[2] != L'.' && path[2] != L'?')
    path.remove_prefix(2);
  else if (path.size() < 2 || path[1] != L':')
    return {};
  if (path.size() >= 2 && path[1] == L':') {
    if (path.size() == 2 || Separator(path[2])) return {Lower(path[0]), L':'};
    return {};  // relative to that drive's current folder
  }
  std::wstring server = L"\\\\";
  for (const wchar_t c : path) {
    if (Separator(c)) break;
    server += Lower(c);
  }
  return server.size() > 2 ? server : std::wstring();
}

}  // namespace ferlane
