#pragma once
// The machine and user facts the program asks the system, behind one interface
// so that tests can answer what Wine cannot pretend (another Windows version,
// a non-administrator token, a drive without a medium).
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/logic/FileRights.h"
#include "platform/logic/OsFamily.h"

namespace ferlane {

// The kind of token the program runs with (GetTokenInformation's
// TokenElevationType): Windows Vista to 11 give an administrator with UAC on a
// limited token, and the full one only after a prompt.
enum class TokenElevation {
  None,     // no such information: Windows XP and earlier
  Default,  // UAC off, or a standard user: the token is all there is
  Full,     // elevated
  Limited,  // an administrator's filtered token, before elevation
};

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
  // The Program Files folder of 32-bit programs, the same for both widths of
  // the program: HKLM SOFTWARE\Microsoft\Windows\CurrentVersion
  // "ProgramFilesDir (x86)" where the machine has it (64-bit Windows), else
  // "ProgramFilesDir"; empty when neither can be read.
  virtual std::wstring ProgramFilesDir() = 0;
  // The Program Files folder of 64-bit programs ("ProgramFilesDir" of the
  // registry's 64-bit view) on a 64-bit Windows; empty on a 32-bit one.
  virtual std::wstring ProgramFiles64Dir() = 0;
  // RegSetValueEx on an open key. Wine never refuses a write to a key opened
  // with full access, so a refused write can only be pretended here.
  virtual LONG SetRegistryValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD bytes) = 0;
  // ShellExecute; empty texts are passed as none. What another program is
  // given can only be read here: a viewer may take a name however it comes.
  virtual INT_PTR RunShellExecute(HWND owner, const std::wstring& verb, const std::wstring& file,
                                  const std::wstring& params, const std::wstring& folder, int show) = 0;
  // The process token's elevation type. Wine reports every token as full.
  virtual TokenElevation Elevation() = 0;
  // Starts program again with the "runas" verb (the elevation prompt), in
  // folder; ERROR_SUCCESS, or the system's code (ERROR_CANCELLED when the
  // prompt was refused).
  virtual DWORD StartElevated(const std::wstring& program, const std::wstring& folder) = 0;
  // The rights of a file or folder; false when they cannot be read.
  virtual bool ReadFileRights(const std::wstring& path, FileRights& rights) = 0;
  // Gives a file or folder exactly these rights, none from its parent;
  // ERROR_SUCCESS or the system's code. Wine takes them without keeping
  // them, so rights that are kept can only be pretended here.
  virtual DWORD WriteFileRights(const std::wstring& path, const FileRights& rights) = 0;
  // CreateFileW (unshared unless share says) of a file that takes these
  // rights at its creation, nothing from its parent; rights null: its folder's.
  // rightsError tells why the rights could not be given (the file is then
  // made with its folder's); INVALID_HANDLE_VALUE with the last error when
  // no file could be made.
  virtual HANDLE CreateFileWithRights(const std::wstring& path, DWORD access, DWORD disposition,
                                      const FileRights* rights, DWORD& rightsError, DWORD share) = 0;
  // One event in the Application log under the source "Ferlane"
  // (RegisterEventSource, ReportEvent); ERROR_SUCCESS or the system's code.
  // Wine takes the event and stores nothing: what was written can only be
  // read here.
  virtual DWORD WriteEvent(WORD type, DWORD id, const std::vector<std::wstring>& strings) = 0;
  // MoveFileExW(from, to, 0): a rename that never replaces; ERROR_SUCCESS or
  // the system's code. Wine refuses a taken name before it looks at the
  // volume, so a move across volumes over a taken name is pretended here.
  virtual DWORD RenameEntry(const std::wstring& from, const std::wstring& to) = 0;
  // DeleteFileW, or RemoveDirectoryW for a folder. Wine deletes anything for
  // root, so a delete that fails part-way is pretended here.
  virtual DWORD RemoveEntry(const std::wstring& path, bool folder) = 0;
  // FindFirstFileW on the pattern "<folder>\\*": the listing's handle, or
  // INVALID_HANDLE_VALUE with the system's code as the last error. Wine
  // lets root read every folder, so a folder that refuses its reader is
  // pretended here.
  virtual HANDLE FindFirstEntry(const std::wstring& folder, WIN32_FIND_DATAW& data) = 0;
  // GetFileAttributesW; INVALID_FILE_ATTRIBUTES with the system's code as
  // the last error. Under a server that does not answer, Windows waits out
  // the network redirector's timeout here, which Wine never shows: such a
  // server is pretended here.
  virtual DWORD PathAttributes(const std::wstring& path) = 0;
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
  std::wstring ProgramFiles64Dir() override;
  LONG SetRegistryValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD bytes) override;
  INT_PTR RunShellExecute(HWND owner, const std::wstring& verb, const std::wstring& file, const std::wstring& params,
                          const std::wstring& folder, int show) override;
  TokenElevation Elevation() override;
  DWORD StartElevated(const std::wstring& program, const std::wstring& folder) override;
  bool ReadFileRights(const std::wstring& path, FileRights& rights) override;  // AccessLists.cpp
  DWORD WriteFileRights(const std::wstring& path, const FileRights& rights) override;  // AccessLists.cpp
  HANDLE CreateFileWithRights(const std::wstring& path, DWORD access, DWORD disposition, const FileRights* rights,
                              DWORD& rightsError, DWORD share) override;  // AccessLists.cpp
  DWORD WriteEvent(WORD type, DWORD id, const std::vector<std::wstring>& strings) override;
  DWORD RenameEntry(const std::wstring& from, const std::wstring& to) override;
  DWORD RemoveEntry(const std::wstring& path, bool folder) override;
  HANDLE FindFirstEntry(const std::wstring& folder, WIN32_FIND_DATAW& data) override;
  DWORD PathAttributes(const std::wstring& path) override;
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
std::wstring GetProgramFiles64Dir();

}  // namespace ferlane
