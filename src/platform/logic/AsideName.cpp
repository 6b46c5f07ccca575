#include "platform/logic/AsideName.h"

namespace ferlane {

bool HasAsideMark(std::wstring_view name) {
  auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
  const std::wstring_view mark = kAsideMark;
  for (std::size_t at = 1; at + mark.size() <= name.size(); ++at) {
    bool same = true;
    for (std::size_t i = 0; i < mark.size() && same; ++i) same = lower(name[at + i]) == mark[i];
    if (!same) continue;
    // The mark ends the name, or a number the taken names got follows it.
    std::wstring_view rest = name.substr(at + mark.size());
    if (rest.empty()) return true;
    if (rest.size() < 2 || rest[0] != L'-') continue;
    rest.remove_prefix(1);
    if (rest.find_first_not_of(L"0123456789") == std::wstring_view::npos) return true;
  }
  return false;
}

}  // namespace ferlane
