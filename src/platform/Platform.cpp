#include "platform/Platform.h"

#include <shellapi.h>

#include <stdexcept>

#include "platform/AccessLists.h"
#include "platform/ErrorText.h"
#include "platform/Registry.h"
#include "platform/UniqueHandle.h"

namespace ferlane {
namespace {

Win32Platform g_real;
IPlatform* g_platform = nullptr;

std::string Narrow(const std::wstring& w) {
  int n = ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace

IPlatform& Platform() {
  if (g_platform) return *g_platform;
  return g_real;
}
void SetPlatform(IPlatform* p) { g_platform = p; }

std::wstring Win32Platform::LogonUserName() {
  wchar_t buf[254] = {};
  DWORD size = 253;
  if (!::GetUserNameW(buf, &size)) return std::wstring();
  return std::wstring(buf);
}

std::optional<OsVersion> Win32Platform::Version() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExW(&info)) return std::nullopt;
  return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.szCSDVersion};
}

bool Win32Platform::IsAdministrator() {
  UniqueKernelHandle token;
  if (!::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.put())) {
    if (::GetLastError() != ERROR_NO_TOKEN) return false;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  }
  return TokenHasAdministrators(token.get(), &::GetTokenInformation);
}

bool TokenHasAdministrators(HANDLE token, TokenInformationQuery query) {
  // Ask the size the groups need: a token with many groups overflows any
  // fixed buffer, and a real administrator must not be turned away for it.
  DWORD needed = 0;
  query(token, TokenGroups, nullptr, 0, &needed);
  if (needed == 0) return false;
  std::vector<BYTE> buffer(needed);
  if (!query(token, TokenGroups, buffer.data(), needed, &needed)) return false;

  const UniqueSid admins = NtAuthoritySid(2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
  if (!admins) return false;
  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
  // Membership alone counts: deny-only or disabled entries are not looked at.
  for (DWORD i = 0; i < groups->GroupCount; ++i)
    if (::EqualSid(groups->Groups[i].Sid, admins.get())) return true;
  return false;
}

bool Win32Platform::LogicalDriveStrings(std::vector<std::wstring>& roots, DWORD& error) {
  roots.clear();
  error = 0;
  wchar_t buf[129] = {};
  DWORD n = ::GetLogicalDriveStringsW(129, buf);
  if (n == 0) return true;
  if (n > 129) {
    error = ERROR_OUTOFMEMORY;
    return false;
  }
  for (const wchar_t* p = buf; p < buf + 129 && *p; p += 4) roots.emplace_back(p, wcsnlen(p, 4));
  return true;
}

DWORD Win32Platform::LogicalDrives() { return ::GetLogicalDrives(); }

UINT Win32Platform::DriveType(const std::wstring& root) { return ::GetDriveTypeW(root.c_str()); }

bool Win32Platform::DiskSpace(const std::wstring& root, std::uint64_t& total, std::uint64_t& free) {
  ULARGE_INTEGER avail{}, tot{}, fr{};
  if (!::GetDiskFreeSpaceExW(root.c_str(), &avail, &tot, &fr)) return false;
  total = tot.QuadPart;
  free = fr.QuadPart;
  return true;
}

namespace {

constexpr wchar_t kCurrentVersionKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// True for a 32-bit process on a 64-bit Windows. IsWow64Process is looked up:
// Windows 2000 and XP before SP2 do not have it, and are never 64-bit.
bool RunsUnderWow64() {
  using IsWow64Fn = BOOL(WINAPI*)(HANDLE, BOOL*);
  const auto isWow64 =
      reinterpret_cast<IsWow64Fn>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "IsWow64Process"));
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(::GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

std::wstring Win32Platform::ProgramFilesDir() {
  // The 32-bit programs' folder, whichever width reads it: a 64-bit Windows
  // names it "ProgramFilesDir (x86)" in both registry views, a 32-bit one has
  // only "ProgramFilesDir".
  RegistryKey key;
  key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey);
  std::wstring dir = key.ReadStringOrEmpty(L"ProgramFilesDir (x86)");
  return dir.empty() ? key.ReadStringOrEmpty(L"ProgramFilesDir") : dir;
}

std::wstring Win32Platform::ProgramFiles64Dir() {
  if (sizeof(void*) < 8 && !RunsUnderWow64()) return std::wstring();
  RegistryKey key;
  key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, false, KEY_WOW64_64KEY);
  return key.ReadStringOrEmpty(L"ProgramFilesDir");
}

std::wstring GetLogonUserName() { return Platform().LogonUserName(); }

int GetOsFamily() {
  auto v = Platform().Version();
  return v ? ClassifyOsFamily(*v) : -1;
}

bool IsAdministrator() { return Platform().IsAdministrator(); }

std::vector<std::wstring> GetFixedDrives() {
  std::vector<std::wstring> roots;
  DWORD error = 0;
  if (!Platform().LogicalDriveStrings(roots, error)) throw std::runtime_error(Narrow(SystemErrorText(error)));
  std::vector<std::wstring> fixed;
  for (const auto& r : roots)
    if (Platform().DriveType(r) == DRIVE_FIXED) fixed.push_back(r);
  return fixed;
}

std::wstring GetProgramFilesDir() { return Platform().ProgramFilesDir(); }
std::wstring GetProgramFiles64Dir() { return Platform().ProgramFiles64Dir(); }

LONG Win32Platform::SetRegistryValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data,
                                     DWORD bytes) {
  return ::RegSetValueExW(key, name.c_str(), 0, type, data, bytes);
}

INT_PTR Win32Platform::RunShellExecute(HWND owner, const std::wstring& verb, const std::wstring& file,
                                       const std::wstring& params, const std::wstring& folder, int show) {
  auto orNull = [](const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); };
  return reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(owner, orNull(verb), file.c_str(), orNull(params), orNull(folder), show));
}

TokenElevation Win32Platform::Elevation() {
  UniqueKernelHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return TokenElevation::None;
  // TokenElevationType (18) and its values, by number: Windows XP's headers
  // lack them, and its GetTokenInformation refuses the class.
  constexpr auto kTokenElevationType = static_cast<TOKEN_INFORMATION_CLASS>(18);
  DWORD type = 0, got = 0;
  if (!::GetTokenInformation(token.get(), kTokenElevationType, &type, sizeof type, &got)) return TokenElevation::None;
  switch (type) {
    case 1: return TokenElevation::Default;
    case 2: return TokenElevation::Full;
    case 3: return TokenElevation::Limited;
    default: return TokenElevation::None;
  }
}

DWORD Win32Platform::WriteEvent(WORD type, DWORD id, const std::vector<std::wstring>& strings) {
  // An unregistered source writes too: the Event Viewer then shows the
  // strings without the message's sentence.
  const UniqueEventSource source(::RegisterEventSourceW(nullptr, L"Ferlane"));
  if (!source) return ::GetLastError();
  std::vector<LPCWSTR> pointers;
  for (const std::wstring& s : strings) pointers.push_back(s.c_str());
  // The account in the event's user field: the Event Viewer shows it, and
  // a query can filter on it. Written without one when the token is unread.
  std::vector<BYTE> user = TokenUserSid();
  const PSID sid = user.empty() ? nullptr : static_cast<PSID>(user.data());
  const BOOL written = ::ReportEventW(source.get(), type, 0, id, sid, static_cast<WORD>(pointers.size()), 0,
                                      pointers.empty() ? nullptr : pointers.data(), nullptr);
  return written ? static_cast<DWORD>(ERROR_SUCCESS) : ::GetLastError();
}

DWORD Win32Platform::RenameEntry(const std::wstring& from, const std::wstring& to) {
  return ::MoveFileExW(from.c_str(), to.c_str(), 0) ? ERROR_SUCCESS : ::GetLastError();
}

DWORD Win32Platform::RemoveEntry(const std::wstring& path, bool folder) {
  const BOOL gone = folder ? ::RemoveDirectoryW(path.c_str()) : ::DeleteFileW(path.c_str());
  return gone ? ERROR_SUCCESS : ::GetLastError();
}

DWORD Win32Platform::PathAttributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

HANDLE Win32Platform::FindFirstEntry(const std::wstring& folder, WIN32_FIND_DATAW& data) {
  return ::FindFirstFileW((folder + L"\\*").c_str(), &data);
}

DWORD Win32Platform::StartElevated(const std::wstring& program, const std::wstring& folder) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // The program says itself why it ends: no box from the shell.
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"runas";
  info.lpFile = program.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ::ShellExecuteExW(&info) ? static_cast<DWORD>(ERROR_SUCCESS) : ::GetLastError();
}

}  // namespace ferlane
