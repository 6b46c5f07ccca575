#pragma once
// The program's settings key under HKEY_CURRENT_USER: the window's placement
// and each user's password. The window and the command line both read it,
// so it is spelt in this one place.

namespace ferlane {

inline constexpr wchar_t kSettingsKey[] = L"Software\\Ferlane";
// Under it, the digest of the items of older stores the window last named
// (they could not join the store): the same set is not named again.
inline constexpr wchar_t kStrandedToldValue[] = L"ElementsRestesSignales";

}  // namespace ferlane
