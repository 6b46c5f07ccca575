#pragma once
// Path operations shared by the file list view and the directory tree.
// Paths use "\" and are handled as plain text.
#include <string>

namespace ferlane {

// A non-empty text not ending in "\" gets one; the empty text stays empty.
std::wstring AddSlash(const std::wstring& s);
// One trailing "\" removed if present.
std::wstring DelSlash(const std::wstring& s);
// A non-empty text whose last character is not NUL gets one NUL appended.
std::wstring AddNullTerm(const std::wstring& s);
// AddSlash(folder) + name when both are non-empty, else empty.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
// True when any of chars occurs in text.
bool HasInvalidChar(const std::wstring& chars, const std::wstring& text);
// The file name of path with the first occurrence of its extension removed.
std::wstring NameWithoutExt(const std::wstring& path);
// The text after the last "\" (or ":"), the whole text when it has none.
std::wstring ExtractFileName(const std::wstring& path);
// The text up to and including the last "\" (or ":"); empty when it has none.
std::wstring ExtractFilePath(const std::wstring& path);
// The extension of a file name: from its last "." on, empty when it has none.
std::wstring ExtractFileExt(const std::wstring& name);
// Locale-independent upper case of the Latin-1 range and basic Latin.
std::wstring UpperCase(const std::wstring& s);
bool SameTextIgnoreCase(const std::wstring& a, const std::wstring& b);
std::wstring Trim(const std::wstring& s);

// The characters a folder name may not contain (tree rename).
inline constexpr wchar_t kInvalidFolderChars[] = L"\\*?/=\"<>|:,;+^";

}  // namespace ferlane
