#include "protect/FileAttributes.h"

#include <windows.h>

#include "protect/logic/ExactPath.h"

namespace ferlane {

// Listed paths are addressed exactly, so the item named is the item changed.
std::uint32_t Win32FileAttributes::Get(const std::wstring& path) {
  return ::GetFileAttributesW(ExactPath(path).c_str());
}

std::uint32_t Win32FileAttributes::Set(const std::wstring& path, std::uint32_t attributes) {
  // A word with no settable bit left means "no attribute": say so the way
  // the system expects it.
  if (::SetFileAttributesW(ExactPath(path).c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL)) return 0;
  const DWORD error = ::GetLastError();
  return error ? error : ERROR_ACCESS_DENIED;
}

}  // namespace ferlane
