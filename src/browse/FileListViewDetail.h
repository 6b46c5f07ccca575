#pragma once
// Small helpers shared by the files that implement TFileListView; not for hosts.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "browse/logic/PathOps.h"

namespace ferlane::listview_detail {

inline constexpr UINT kMsgItemClicked = WM_APP + 1;   // an arrow key moved the selection
inline constexpr UINT kMsgAcceptRename = WM_APP + 2;  // an in-place edit was accepted

// The system's FindFirstFileExW, or a stand-in for the tests.
using FindFirstExFn = HANDLE(WINAPI*)(LPCWSTR, FINDEX_INFO_LEVELS, LPVOID, FINDEX_SEARCH_OPS, LPVOID, DWORD);
// Opens a folder walk. Windows 7 and later leave out the short names
// (FindExInfoBasic) and fetch more entries per call (FIND_FIRST_EX_LARGE_FETCH)
// through findEx; earlier systems refuse both with ERROR_INVALID_PARAMETER,
// and once refused (`refused` is set) the walk is the plain one. Any other
// failure is the folder's own, and is given as it is.
HANDLE OpenFolderWalk(const std::wstring& pattern, WIN32_FIND_DATAW& fd, FindFirstExFn findEx, bool& refused);

inline bool IsDrivesText(const std::wstring& s) { return UpperCase(s) == L"DRIVES"; }

inline bool IsDriveRoot(const std::wstring& folder) {
  return folder.size() == 3 && folder[1] == L':' && folder[2] == L'\\';
}

inline std::wstring LocaleUpper(std::wstring s) {
  if (!s.empty()) ::CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

// The upper case CharUpperBuff gives each UTF-16 unit alone, built once: a
// sort compares names through it instead of upper-casing a copy of each.
inline const wchar_t* LocaleUpperTable() {
  static const std::vector<wchar_t> table = [] {
    std::vector<wchar_t> t(0x10000);
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = static_cast<wchar_t>(i);
    // The surrogate halves stay as they are; names holding them sort by copies.
    ::CharUpperBuffW(t.data(), 0xD800);
    ::CharUpperBuffW(t.data() + 0xE000, 0x2000);
    return t;
  }();
  return table.data();
}

inline bool HasSurrogate(std::wstring_view text) {
  for (wchar_t c : text)
    if (c >= 0xD800 && c <= 0xDFFF) return true;
  return false;
}

inline bool SameTextLocale(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

inline HBITMAP LoadResourceBitmap(const wchar_t* name, UINT flags = 0) {
  return static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, flags));
}

}  // namespace ferlane::listview_detail
