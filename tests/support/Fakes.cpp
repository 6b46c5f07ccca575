#include "support/Fakes.h"

#include <algorithm>

#include "platform/logic/ServerName.h"

namespace ferlane::test {

FakePlatform::FakePlatform() : released_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  ::InitializeCriticalSection(&blockedLock_);
  SetPlatform(this);
}

FakePlatform::~FakePlatform() {
  SetPlatform(nullptr);
  // The lookups the silent servers hold answer now, and leave before the
  // platform goes.
  ::SetEvent(released_);
  while (::InterlockedCompareExchange(&inside_, 0, 0) != 0) ::Sleep(1);
  ::CloseHandle(released_);
  ::DeleteCriticalSection(&blockedLock_);
}

DWORD FakePlatform::PathAttributes(const std::wstring& path) {
  const std::wstring server = ServerOf(path);
  if (server.empty() || std::find(silentServers.begin(), silentServers.end(), server) == silentServers.end()) {
    const DWORD attributes = Win32Platform::PathAttributes(path);
    for (const std::wstring& link : linkPaths)
      if (attributes != INVALID_FILE_ATTRIBUTES && ::lstrcmpiW(link.c_str(), path.c_str()) == 0)
        return attributes | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes;
  }
  ::InterlockedIncrement(&inside_);
  ::EnterCriticalSection(&blockedLock_);
  ++blocked_[server];
  ::LeaveCriticalSection(&blockedLock_);
  ::WaitForSingleObject(released_, INFINITE);
  ::InterlockedDecrement(&inside_);
  ::SetLastError(ERROR_BAD_NETPATH);
  return INVALID_FILE_ATTRIBUTES;
}

std::map<std::wstring, int> FakePlatform::BlockedLookups() {
  ::EnterCriticalSection(&blockedLock_);
  std::map<std::wstring, int> copy = blocked_;
  ::LeaveCriticalSection(&blockedLock_);
  return copy;
}

bool FakePlatform::LogicalDriveStrings(std::vector<std::wstring>& roots, DWORD& error) {
  if (!driveStrings) return Win32Platform::LogicalDriveStrings(roots, error);
  roots = *driveStrings;
  error = 0;
  return true;
}

UINT FakePlatform::DriveType(const std::wstring& root) {
  auto it = driveTypes.find(root);
  return it != driveTypes.end() ? it->second : Win32Platform::DriveType(root);
}

bool FakePlatform::DiskSpace(const std::wstring& root, std::uint64_t& total, std::uint64_t& free) {
  for (const auto& r : drivesWithoutMedium)
    if (!r.empty() && !root.empty() && towupper(r[0]) == towupper(root[0])) return false;
  return Win32Platform::DiskSpace(root, total, free);
}

LONG FakePlatform::SetRegistryValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD bytes) {
  if (std::find(refusedValueWrites.begin(), refusedValueWrites.end(), name) != refusedValueWrites.end())
    return ERROR_ACCESS_DENIED;
  return Win32Platform::SetRegistryValue(key, name, type, data, bytes);
}

bool FakePlatform::ReadFileRights(const std::wstring& path, FileRights& rights) {
  if (!keptRights) return Win32Platform::ReadFileRights(path, rights);
  const auto kept = keptRights->find(path);
  rights = kept != keptRights->end() ? kept->second
                                     : FileRights{true, false, {{Trustee::Other, 0x1200A9, true, 0x10}}};
  return true;
}

DWORD FakePlatform::WriteFileRights(const std::wstring& path, const FileRights& rights) {
  if (rightsRefusal) return *rightsRefusal;
  rightsWrites.push_back(path);
  if (!keptRights) return Win32Platform::WriteFileRights(path, rights);
  (*keptRights)[path] = rights;
  return ERROR_SUCCESS;
}

HANDLE FakePlatform::CreateFileWithRights(const std::wstring& path, DWORD access, DWORD disposition,
                                          const FileRights* rights, DWORD& rightsError, DWORD share) {
  if (!rights) return Win32Platform::CreateFileWithRights(path, access, disposition, nullptr, rightsError, share);
  const bool pretend = rightsRefusal || keptRights;
  HANDLE file =
      Win32Platform::CreateFileWithRights(path, access, disposition, pretend ? nullptr : rights, rightsError, share);
  if (file == INVALID_HANDLE_VALUE) return file;
  if (rightsRefusal) {
    rightsError = *rightsRefusal;
    return file;
  }
  createdPrivate.push_back(path);
  if (keptRights) (*keptRights)[path] = *rights;
  return file;
}

INT_PTR FakePlatform::RunShellExecute(HWND owner, const std::wstring& verb, const std::wstring& file,
                                      const std::wstring& params, const std::wstring& folder, int show) {
  if (!executed) return Win32Platform::RunShellExecute(owner, verb, file, params, folder, show);
  executed->push_back({verb, file, params, folder, show});
  return 42;  // above 32: started
}

int RecordingMessages::Show(HWND, const std::wstring& text, const std::wstring& caption, UINT flags) {
  shown.push_back({text, caption, flags});
  if (onShow) onShow();
  if (!answers.empty()) {
    int a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  return (flags & 0xF) == MB_YESNO ? IDYES : IDOK;
}

ScratchDir::ScratchDir() {
  wchar_t tmp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, tmp);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::wstring(tmp) + L"ferlane-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  // Attributes set by a test (read-only, hidden, system) must not block removal.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    ::SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(path_, ec);
}

std::wstring ScratchDir::File(const std::wstring& name, std::size_t size, DWORD attributes) const {
  std::wstring p = path_ + name;
  HANDLE h = ::CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    std::string data(size, 'x');
    DWORD written = 0;
    if (size) ::WriteFile(h, data.data(), static_cast<DWORD>(size), &written, nullptr);
    ::CloseHandle(h);
  }
  if (attributes) ::SetFileAttributesW(p.c_str(), attributes);
  return p;
}

std::wstring ScratchDir::Folder(const std::wstring& name, DWORD attributes) const {
  std::wstring p = path_ + name;
  ::CreateDirectoryW(p.c_str(), nullptr);
  if (attributes) ::SetFileAttributesW(p.c_str(), attributes);
  return p;
}

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace ferlane::test
