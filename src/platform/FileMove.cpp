#include "platform/FileMove.h"

#include <string_view>
#include <vector>

namespace ferlane {
namespace {

std::wstring Join(const std::wstring& folder, const wchar_t* name) { return folder + L'\\' + name; }

// Removes a file or a whole folder, read-only marks included; what cannot go
// stays, and the first reason is given.
DWORD RemoveTree(const std::wstring& path) {
  const DWORD attrs = ::GetFileAttributesW(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return ::GetLastError();
  if (attrs & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesW(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY) || (attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
    const BOOL gone = (attrs & FILE_ATTRIBUTE_DIRECTORY) ? ::RemoveDirectoryW(path.c_str()) : ::DeleteFileW(path.c_str());
    return gone ? ERROR_SUCCESS : ::GetLastError();
  }
  DWORD first = ERROR_SUCCESS;
  WIN32_FIND_DATAW fd;
  HANDLE find = ::FindFirstFileW(Join(path, L"*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring_view name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const DWORD error = RemoveTree(Join(path, fd.cFileName));
      if (first == ERROR_SUCCESS) first = error;
    } while (::FindNextFileW(find, &fd));
    ::FindClose(find);
  }
  if (!::RemoveDirectoryW(path.c_str()) && first == ERROR_SUCCESS) first = ::GetLastError();
  return first;
}

// Copies the content of the folder `from` into the new folder `to`; a name
// that exists is an error, at every level.
DWORD CopyTree(const std::wstring& from, const std::wstring& to) {
  WIN32_FIND_DATAW fd;
  HANDLE find = ::FindFirstFileW(Join(from, L"*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return ::GetLastError();
  DWORD error = ERROR_SUCCESS;
  do {
    const std::wstring_view name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring source = Join(from, fd.cFileName), target = Join(to, fd.cFileName);
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      error = ::CopyFileW(source.c_str(), target.c_str(), TRUE) ? ERROR_SUCCESS : ::GetLastError();
    else if (!::CreateDirectoryW(target.c_str(), nullptr))
      error = ::GetLastError();
    else
      error = CopyTree(source, target);
  } while (error == ERROR_SUCCESS && ::FindNextFileW(find, &fd));
  if (error == ERROR_SUCCESS && ::GetLastError() != ERROR_NO_MORE_FILES) error = ::GetLastError();
  ::FindClose(find);
  // The folder's own marks (hidden, read-only of a customised folder) last,
  // once its content is in.
  const DWORD attrs = ::GetFileAttributesW(from.c_str());
  if (error == ERROR_SUCCESS && attrs != INVALID_FILE_ATTRIBUTES)
    ::SetFileAttributesW(to.c_str(), attrs & ~FILE_ATTRIBUTE_DIRECTORY);
  return error;
}

}  // namespace

DWORD MoveWithoutReplacing(const std::wstring& from, const std::wstring& to) {
  // Without MOVEFILE_REPLACE_EXISTING the rename itself refuses a taken name.
  if (::MoveFileExW(from.c_str(), to.c_str(), 0)) return ERROR_SUCCESS;
  const DWORD error = ::GetLastError();
  if (error != ERROR_NOT_SAME_DEVICE) return error;
  const DWORD attrs = ::GetFileAttributesW(from.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return ::GetLastError();
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
    // CopyFile with "fail if exists" refuses a taken name, and removes its
    // own half-made copy.
    if (!::CopyFileW(from.c_str(), to.c_str(), TRUE)) return ::GetLastError();
  } else {
    if (!::CreateDirectoryW(to.c_str(), nullptr)) return ::GetLastError();
    if (const DWORD copied = CopyTree(from, to); copied != ERROR_SUCCESS) {
      RemoveTree(to);  // made by this copy alone
      return copied;
    }
  }
  // Whole at the destination: should some of the source refuse to go, the
  // user has two copies rather than none, and is told why.
  return RemoveTree(from);
}

}  // namespace ferlane
