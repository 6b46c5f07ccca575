#include "app/logic/AccessKeys.h"

#include <map>

namespace ferlane {

wchar_t FoldAccessKey(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
  // Latin-1's small letters lie 0x20 above their capitals, but for the
  // division sign and the two that have no capital there.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);
  return c;
}

wchar_t AccessKeyOf(std::wstring_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;  // a plain ampersand
      continue;
    }
    return FoldAccessKey(caption[i + 1]);
  }
  return 0;
}

AccessKeyChoice ChooseAccessKey(wchar_t key, const std::vector<std::wstring>& menus,
                                const std::vector<std::wstring>& controls, int focusedAt) {
  key = FoldAccessKey(key);
  if (!key) return {};
  for (const std::wstring& menu : menus)
    if (AccessKeyOf(menu) == key) return {AccessKeyAction::OpenMenu, -1};
  std::vector<int> sharing;
  for (int i = 0; i < static_cast<int>(controls.size()); ++i)
    if (AccessKeyOf(controls[static_cast<std::size_t>(i)]) == key) sharing.push_back(i);
  if (sharing.empty()) return {};
  if (sharing.size() == 1) return {AccessKeyAction::Press, sharing.front()};
  for (int i : sharing)
    if (i > focusedAt) return {AccessKeyAction::Focus, i};
  return {AccessKeyAction::Focus, sharing.front()};
}

std::vector<AccessKeyCollision> FindAccessKeyCollisions(const std::vector<std::wstring>& menus,
                                                        const std::vector<std::wstring>& controls) {
  std::map<wchar_t, std::vector<std::wstring>> byKey;
  for (const auto* list : {&menus, &controls})
    for (const std::wstring& caption : *list)
      if (const wchar_t key = AccessKeyOf(caption)) byKey[key].push_back(caption);
  std::vector<AccessKeyCollision> collisions;
  for (auto& [key, captions] : byKey)
    if (captions.size() > 1) collisions.push_back({key, std::move(captions)});
  return collisions;
}

}  // namespace ferlane
