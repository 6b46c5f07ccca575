#pragma once
// The machine and user facts the program asks the system, behind one interface
// so that tests can answer what Wine cannot pretend (another Windows version,
// a non-administrator token, a drive without a medium).
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/logic/OsFamily.h"

namespace ferlane {

class IPlatform {
 public:
  virtual ~IPlatform() = default;

  // GetUserName; empty when the name cannot be had.
  virtual std::wstring LogonUserName() = 0;
  // GetVersionEx; nullopt when the query fails.
  virtual std::optional<OsVersion> Version() = 0;
  // Membership of the built-in Administrators group in the current token.
  virtual bool IsAdministrator() = 0;
  // GetLogicalDriveStrings; the roots ("C:\") in platform order. Returns false
  // with *error set when the drive text does not fit the caller's buffer.
  virtual bool LogicalDriveStrings(std::vector<std::wstring>& roots, DWORD& error) = 0;
  virtual DWORD LogicalDrives() = 0;
  virtual UINT DriveType(const std::wstring& root) = 0;
  // Total and free bytes of a drive; false when the drive cannot be read
  // (no medium, no such drive).
  virtual bool DiskSpace(const std::wstring& root, std::uint64_t& total, std::uint64_t& free) = 0;
  // HKLM SOFTWARE\Microsoft\Windows\CurrentVersion "ProgramFilesDir", or empty.
  virtual std::wstring ProgramFilesDir() = 0;
  // RegSetValueEx on an open key. Wine never refuses a write to a key opened
  // with full access, so a refused write can only be pretended here.
  virtual LONG SetRegistryValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD bytes) = 0;
};

// GetTokenInformation's shape, so that a test can answer for a token.
using TokenInformationQuery = BOOL(WINAPI*)(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* buffer, DWORD size,
                                            DWORD* needed);
// Whether the token's groups hold the built-in Administrators group, read
// through `query` with the size the groups need.
bool TokenHasAdministrators(HANDLE token, TokenInformationQuery query);

// The real system's answers.
class Win32Platform : public IPlatform {
 public:
  std::wstring LogonUserName() override;
  std::optional<OsVersion> Version() override;
  bool IsAdministrator() override;
  bool LogicalDriveStrings(std::vector<std::wstring>& roots, DWORD& error) override;
  DWORD LogicalDrives() override;
  UINT DriveType(const std::wstring& root) override;
  bool DiskSpace(const std::wstring& root, std::uint64_t& total, std::uint64_t& free) override;
  std::wstring ProgramFilesDir() override;
  LONG SetRegistryValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD bytes) override;
};

// The process-wide platform; the real one unless a test installed its own.
IPlatform& Platform();
// Installs p (not owned) as the platform; nullptr restores the real one.
void SetPlatform(IPlatform* p);

// The platform queries of the start-up sequence, built on the interface above.
std::wstring GetLogonUserName();
int GetOsFamily();
bool IsAdministrator();
// Fixed drives only; throws std::runtime_error with the system's text for
// ERROR_OUTOFMEMORY when the drive text does not fit.
std::vector<std::wstring> GetFixedDrives();
std::wstring GetProgramFilesDir();

}  // namespace ferlane
