#pragma once
// The program's settings key under HKEY_CURRENT_USER: the window's placement
// and each user's password. The window and the command line both read it,
// so it is spelt in this one place.
#include <string>

namespace ferlane {

inline constexpr wchar_t kSettingsKey[] = L"Software\\Ferlane";
// Under it, the digest of the items of older stores the window last named
// (they could not join the store): the same set is not named again.
inline constexpr wchar_t kStrandedToldValue[] = L"ElementsRestesSignales";

// Where a user's password value is, as an event names it.
inline std::wstring PasswordValueName(const std::wstring& user) {
  return L"HKEY_CURRENT_USER\\" + std::wstring(kSettingsKey) + L" : " + user;
}

}  // namespace ferlane
