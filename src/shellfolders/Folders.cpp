#include "shellfolders/Folders.h"

#include <shlobj.h>

#include <algorithm>

#include "platform/Platform.h"
#include "shellfolders/logic/MoveRules.h"

namespace ferlane {
namespace {

// A path as the shell's double-null-terminated list of one entry.
std::wstring OneEntryList(const std::wstring& path) { return path + L'\0'; }

}  // namespace

bool PathExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::wstring> SpecialFolderPath(HWND owner, int csidl) {
  IMalloc* allocator = nullptr;
  if (FAILED(::SHGetMalloc(&allocator)) || !allocator) return std::nullopt;
  LPITEMIDLIST pidl = nullptr;
  wchar_t buffer[MAX_PATH + 1] = {};
  // A folder the system does not have leaves the buffer empty: no path.
  if (SUCCEEDED(::SHGetSpecialFolderLocation(owner, csidl, &pidl)) && pidl) {
    ::SHGetPathFromIDListW(pidl, buffer);
    allocator->Free(pidl);
  }
  allocator->Release();
  if (!buffer[0]) return std::nullopt;
  return std::wstring(buffer);
}

std::wstring LocalAppDataPath() {
  // CSIDL_LOCAL_APPDATA.
  constexpr int kCsidlLocalAppData = 0x001c;
  return SpecialFolderPath(nullptr, kCsidlLocalAppData).value_or(L"");
}

namespace {

// One request to the shell; from and to are null-separated lists ending in a
// second null. Every field not set is zero.
int RunShellOperation(HWND owner, UINT operation, const std::wstring& from, const std::wstring& to,
                      FILEOP_FLAGS flags, bool* aborted) {
  SHFILEOPSTRUCTW op{};
  op.hwnd = owner;
  op.wFunc = operation;
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  op.fFlags = flags;
  const int result = ::SHFileOperationW(&op);
  if (aborted) *aborted = op.fAnyOperationsAborted != FALSE;
  return result;
}

}  // namespace

int ShellMoveList(HWND owner, const std::vector<std::wstring>& sources, const std::wstring& destination,
                  FILEOP_FLAGS flags, bool* aborted) {
  std::wstring from, to;
  for (const auto& source : sources) from += source + L'\0';
  from += L'\0';
  if (sources.size() == 1) {
    to = OneEntryList(destination);
  } else {
    // Several sources name one target each: Wine's shell refuses several
    // sources into one folder, and every shell keeps the names this way.
    for (const auto& source : sources) to += JoinPath(destination, EntryName(source)) + L'\0';
    to += L'\0';
    flags = static_cast<FILEOP_FLAGS>(flags | FOF_MULTIDESTFILES);
  }
  return RunShellOperation(owner, FO_MOVE, from, to, flags, aborted);
}

bool MoveFolder(const std::wstring& source, const std::wstring& destination, FILEOP_FLAGS extraFlags,
                bool* aborted) {
  return ShellMoveList(nullptr, {source}, destination, static_cast<FILEOP_FLAGS>(FOF_FILESONLY | extraFlags),
                       aborted) == 0;
}

int ShellFileOp(HWND owner, const std::wstring& source, const std::wstring& destination, UINT operation,
                FILEOP_FLAGS extraFlags, bool* aborted) {
  return RunShellOperation(owner, operation, OneEntryList(source), OneEntryList(destination), extraFlags, aborted);
}

DWORD CreateFolderPath(const std::wstring& path) {
  // Each level in turn; levels that exist (or cannot be made, like a share's
  // name) are passed, and only the result counts.
  DWORD error = ERROR_SUCCESS;
  for (std::size_t i = path.find_first_of(L"\\/", 1); i != std::wstring::npos; i = path.find_first_of(L"\\/", i + 1))
    if (i > 0 && path[i - 1] != L':' && path[i - 1] != L'\\' && !PathExists(path.substr(0, i)))
      if (!::CreateDirectoryW(path.substr(0, i).c_str(), nullptr)) error = ::GetLastError();
  if (!::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
    error = ::GetLastError();
  const DWORD attrs = ::GetFileAttributesW(path.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_SUCCESS;
  return error != ERROR_SUCCESS ? error : ERROR_PATH_NOT_FOUND;
}

bool ReadFolderEntries(const std::wstring& folder, std::vector<FolderEntry>& entries, DWORD& error) {
  WIN32_FIND_DATAW fd;
  HANDLE h = Platform().FindFirstEntry(folder, fd);
  if (h == INVALID_HANDLE_VALUE) {
    error = ::GetLastError();
    return false;
  }
  do {
    const std::wstring_view name = fd.cFileName;
    if (name != L"." && name != L"..")
      entries.push_back({fd.cFileName, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (::FindNextFileW(h, &fd));
  error = ::GetLastError();
  ::FindClose(h);
  return error == ERROR_NO_MORE_FILES;
}

InsideLengths LengthsInside(const std::wstring& folder) {
  InsideLengths longest;
  std::vector<FolderEntry> entries;
  DWORD error = 0;
  ReadFolderEntries(folder, entries, error);
  for (const auto& e : entries) {
    const std::size_t tail = 1 + e.name.size();
    if (!e.isFolder) {
      longest.file = std::max(longest.file, tail);
      continue;
    }
    longest.folder = std::max(longest.folder, tail);
    const std::wstring path = JoinPath(folder, e.name);
    if (::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) continue;
    const InsideLengths below = LengthsInside(path);
    if (below.folder) longest.folder = std::max(longest.folder, tail + below.folder);
    if (below.file) longest.file = std::max(longest.file, tail + below.file);
  }
  return longest;
}

}  // namespace ferlane
