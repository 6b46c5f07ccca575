#include "platform/FolderIdentity.h"

#include <windows.h>

#include "platform/UniqueHandle.h"
#include "platform/logic/HexText.h"
#include "platform/logic/PathFold.h"

namespace ferlane {
namespace {

// The full path with every short name made long, as far as it exists.
std::wstring LongFullPath(const std::wstring& path) {
  std::wstring full(32768, L'\0');
  const DWORD n = ::GetFullPathNameW(path.c_str(), 32768, full.data(), nullptr);
  if (n == 0 || n >= 32768) return path;
  full.resize(n);
  std::wstring longer(32768, L'\0');
  const DWORD m = ::GetLongPathNameW(full.c_str(), longer.data(), 32768);
  if (m == 0 || m >= 32768) return full;
  longer.resize(m);
  return longer;
}

}  // namespace

std::wstring FolderIdentityAndName(const std::wstring& path) {
  const std::wstring full = LongFullPath(path);
  const std::size_t slash = full.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : full.substr(0, slash + 1);
  const std::wstring name = slash == std::wstring::npos ? full : full.substr(slash + 1);
  // A folder is opened for its identity only (no read, no write): every
  // sharing allowed, so no one else is held up.
  UniqueFile handle(::CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (handle && ::GetFileInformationByHandle(handle.get(), &info) && (info.nFileIndexHigh || info.nFileIndexLow)) {
    const unsigned long long index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return L"vol" + HexDigits(info.dwVolumeSerialNumber, 8) + L"-" + HexDigits(index, 16) + L"\\" + FoldPath(name);
  }
  return FoldPath(full);
}

}  // namespace ferlane
