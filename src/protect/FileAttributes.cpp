#include "protect/FileAttributes.h"

#include <windows.h>

#include "protect/logic/ExactPath.h"

namespace ferlane {

namespace {

// The name a listed line is acted on by: the line as written when it names
// an item; else the line without blanks, tabs and quotes around it, when
// that differs and the line as written names nothing (or could not be used).
// lookup: how the attributes of an exact path are asked.
template <class Lookup>
std::wstring ActedName(const std::wstring& path, Lookup&& lookup) {
  const std::wstring_view trimmed = TrimListedName(path);
  if (trimmed.size() == path.size()) return path;
  if (IsUsableListPath(path) && lookup(ExactPath(path)) != INVALID_FILE_ATTRIBUTES) return path;
  return std::wstring(trimmed);
}

// A listed name's attributes, asked the way lookup asks.
template <class Lookup>
std::uint32_t AttributesOf(const std::wstring& path, Lookup&& lookup) {
  const std::wstring name = ActedName(path, lookup);
  // A relative path would name something else in each current folder.
  if (!IsUsableListPath(name)) {
    ::SetLastError(ERROR_BAD_PATHNAME);
    return INVALID_FILE_ATTRIBUTES;
  }
  return lookup(ExactPath(name));
}

DWORD PlainLookup(const std::wstring& exact) { return ::GetFileAttributesW(exact.c_str()); }

}  // namespace

std::uint32_t ListedPathAttributes(const std::wstring& path) { return AttributesOf(path, PlainLookup); }

std::uint32_t ListedPathAttributes(const std::wstring& path, ServerReach& pass) {
  return AttributesOf(path, [&](const std::wstring& exact) { return pass.Attributes(exact); });
}

// Listed paths are addressed exactly, so the item named is the item changed.
std::uint32_t Win32FileAttributes::Get(const std::wstring& path) { return ListedPathAttributes(path, pass_); }

std::uint32_t Win32FileAttributes::Set(const std::wstring& path, std::uint32_t attributes) {
  const std::wstring name = ActedName(path, [&](const std::wstring& exact) { return pass_.Attributes(exact); });
  if (!IsUsableListPath(name)) return ERROR_BAD_PATHNAME;
  // A word with no settable bit left means "no attribute": say so the way
  // the system expects it.
  if (::SetFileAttributesW(ExactPath(name).c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL)) return 0;
  const DWORD error = ::GetLastError();
  return error ? error : ERROR_ACCESS_DENIED;
}

}  // namespace ferlane
