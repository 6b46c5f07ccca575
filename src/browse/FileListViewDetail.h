#pragma once
// Small helpers shared by the files that implement TFileListView; not for hosts.
#include <windows.h>

#include <string>

#include "browse/logic/PathOps.h"

namespace ferlane::listview_detail {

inline constexpr UINT kMsgItemClicked = WM_APP + 1;   // an arrow key moved the selection
inline constexpr UINT kMsgAcceptRename = WM_APP + 2;  // an in-place edit was accepted

inline bool IsDrivesText(const std::wstring& s) { return UpperCase(s) == L"DRIVES"; }

inline bool IsDriveRoot(const std::wstring& folder) {
  return folder.size() == 3 && folder[1] == L':' && folder[2] == L'\\';
}

inline std::wstring LocaleUpper(std::wstring s) {
  if (!s.empty()) ::CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

inline bool SameTextLocale(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

inline HBITMAP LoadResourceBitmap(const wchar_t* name, UINT flags = 0) {
  return static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, flags));
}

}  // namespace ferlane::listview_detail
