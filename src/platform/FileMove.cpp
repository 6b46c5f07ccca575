#include "platform/FileMove.h"

#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/logic/AsideName.h"

namespace ferlane {
namespace {

std::wstring Join(const std::wstring& folder, const wchar_t* name) { return folder + L'\\' + name; }

// Removes a file or a whole folder, read-only marks included; what cannot go
// stays, and the first reason is given.
DWORD RemoveTree(const std::wstring& path) {
  const DWORD attrs = ::GetFileAttributesW(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return ::GetLastError();
  if (attrs & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesW(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY) || (attrs & FILE_ATTRIBUTE_REPARSE_POINT))
    return Platform().RemoveEntry(path, (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0);
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
  const DWORD removed = Platform().RemoveEntry(path, true);
  return first != ERROR_SUCCESS ? first : removed;
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
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
      error = ERROR_NOT_SUPPORTED;  // a junction or link: following it would copy what lies elsewhere
    else if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
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

// A free name beside `path`, on its volume, for the source while it is copied.
std::wstring AsideName(const std::wstring& path) {
  for (int n = 1;; ++n) {
    std::wstring aside = path + kAsideMark;
    if (n > 1) aside += L"-" + std::to_wstring(n);
    if (::GetFileAttributesW(aside.c_str()) == INVALID_FILE_ATTRIBUTES && ::GetLastError() == ERROR_FILE_NOT_FOUND)
      return aside;
    if (n > 99) return aside;  // its rename then says why
  }
}

// Copies the file or folder `from` to the free name `to`, refusing a taken
// name at every level; what this copy made is removed again when it fails.
DWORD CopyWhole(const std::wstring& from, const std::wstring& to, DWORD attrs) {
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY))
    // CopyFile with "fail if exists" refuses a taken name, and removes its
    // own half-made copy.
    return ::CopyFileW(from.c_str(), to.c_str(), TRUE) ? ERROR_SUCCESS : ::GetLastError();
  if (!::CreateDirectoryW(to.c_str(), nullptr)) return ::GetLastError();
  const DWORD copied = CopyTree(from, to);
  if (copied != ERROR_SUCCESS) RemoveTree(to);  // made by this copy alone
  return copied;
}

}  // namespace

DWORD MoveWithoutReplacing(const std::wstring& from, const std::wstring& to, std::wstring* remains) {
  if (remains) remains->clear();
  // Without MOVEFILE_REPLACE_EXISTING the rename itself refuses a taken name.
  const DWORD renamed = Platform().RenameEntry(from, to);
  if (renamed != ERROR_NOT_SAME_DEVICE) return renamed;
  const DWORD attrs = Platform().PathAttributes(from);
  if (attrs == INVALID_FILE_ATTRIBUTES) return ::GetLastError();
  // A junction or link: a copy would take what lies elsewhere, not the link.
  if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) return ERROR_NOT_SUPPORTED;
  // The source must be able to go before anything is copied: renamed aside on
  // its own volume, which fails while anything inside it is open.
  const std::wstring aside = AsideName(from);
  if (const DWORD error = Platform().RenameEntry(from, aside); error != ERROR_SUCCESS) return error;
  if (const DWORD copied = CopyWhole(aside, to, attrs); copied != ERROR_SUCCESS) {
    // Only this run knows the copy failed, so only it puts the source back;
    // a put-back refused leaves it whole under the aside name, said.
    if (Platform().RenameEntry(aside, from) != ERROR_SUCCESS && remains) *remains = aside;
    return copied;
  }
  // Whole at the destination: should some of the source still refuse to go,
  // the copy is the only whole one and stays; nothing is put back by guess.
  if (RemoveTree(aside) != ERROR_SUCCESS && remains) *remains = aside;
  return ERROR_SUCCESS;
}

}  // namespace ferlane
