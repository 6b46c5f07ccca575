#include "browse/ShellOps.h"

#include <shellapi.h>
#include <shlobj.h>

#include <iterator>

#include "browse/logic/PathOps.h"
#include "browse/logic/Texts.h"
#include "platform/ComScope.h"
#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/Registry.h"

namespace ferlane {
namespace {

HWND g_mainWindow = nullptr;

int SysIconIndex(const std::wstring& path, UINT extraFlags) {
  SHFILEINFOW info{};
  ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extraFlags);
  return info.iIcon;
}

// "X:\" for the upper-cased first letter of root; empty for an empty root.
std::wstring DriveRoot(const std::wstring& root) {
  if (root.empty()) return std::wstring();
  return std::wstring(1, UpperCase(root.substr(0, 1))[0]) + L":\\";
}

bool ReadDiskSpace(const std::wstring& root, std::uint64_t& total, std::uint64_t& free) {
  std::wstring drive = DriveRoot(root);
  return !drive.empty() && Platform().DiskSpace(drive, total, free);
}

const wchar_t* const kShellFolderValues[] = {L"DeskTop", L"Favorites", L"NetHood",  L"Personal",
                                             L"Programs", L"SendTo",   L"Start Menu", L"StartUp"};

// The property sheet's failures, by the last error code; English in every language.
struct ErrorMessage {
  DWORD code;
  const wchar_t* text;
};
const ErrorMessage kPropertiesErrors[] = {
    {2, L"The specified file was not found."},
    {3, L"The specified path was not found."},
    {5, L"Access denied"},
    {8, L"Not enough memory for this operation"},
    {32, L"Sharing violation"},
    {1155, L"There is no application associated with the given filename extension."},
    {1156, L"The DDE transaction failed."},
    {1157, L"DLL not found"},
    {1223, L"The function prompted the user for the location of the application, but the user "
           L"cancelled the request."},
};

}  // namespace

HWND MainWindow() { return g_mainWindow; }
void SetMainWindow(HWND hwnd) { g_mainWindow = hwnd; }

int GetSmallIconIndex(const std::wstring& path) { return SysIconIndex(path, 0); }
int GetOpenIconIndex(const std::wstring& path) { return SysIconIndex(path, SHGFI_OPENICON); }

std::int64_t DiskSizeKB(const std::wstring& root) {
  std::uint64_t total = 0, free = 0;
  if (!ReadDiskSpace(root, total, free)) return 0;
  return static_cast<std::int64_t>(total / 1024);
}

std::int64_t DiskFreeKB(const std::wstring& root) {
  std::uint64_t total = 0, free = 0;
  if (!ReadDiskSpace(root, total, free)) return 0;
  return static_cast<std::int64_t>(free / 1024);
}

bool CheckDriveReady(wchar_t letter, bool show) {
  if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
  const bool validLetter = letter >= L'A' && letter <= L'Z';
  if (!validLetter) ShowError(MainWindow(), Text(Msg::BadDriveLetter));

  // No "insert a disk" box from the system while the empty drive is asked.
  const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
  ::SetErrorMode(oldMode | SEM_FAILCRITICALERRORS);
  std::uint64_t total = 0, free = 0;
  // A character that names no drive is never asked: "\0:\" would be taken
  // as the current drive and answer for it.
  const bool ready = validLetter && Platform().DiskSpace(std::wstring(1, letter) + L":\\", total, free);
  ::SetErrorMode(oldMode);

  if (!ready && show) {
    ::MessageBeep(MB_ICONHAND);
    ShowWarning(MainWindow(), Text(Msg::NoDisk));
  }
  return ready;
}

bool TargetExists(const std::wstring& path) {
  std::wstring plain = path;
  while (!plain.empty() && plain.back() == L'\0') plain.pop_back();
  if (plain.empty() || ::GetFileAttributesW(plain.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  const std::wstring name = ExtractFileName(DelSlash(plain));
  ShowError(MainWindow(), L"\"" + name + L"\" " + Text(Msg::AlreadyExists));
  return true;
}

INT_PTR ExecuteFile(const std::wstring& verb, const std::wstring& file, const std::wstring& params,
                    const std::wstring& folder, int show) {
  const INT_PTR result = Platform().RunShellExecute(MainWindow(), verb, file, params, folder, show);
  if (result <= 32) ShowError(MainWindow(), Text(Msg::CannotPrefix) + verb + Text(Msg::FileWord) + file);
  return result;
}

bool DoFileOperation(FileOpCode code, const std::wstring& source, const std::wstring& target) {
  static const UINT kFunctions[] = {FO_COPY, FO_DELETE, FO_MOVE, FO_RENAME};
  if (code < foCopy || code > foRename) return false;
  // An empty source would leave the shell reading past its single NUL.
  if (source.empty() || source[0] == L'\0') return false;

  // Each list ends in NUL; the string's own terminator makes the closing double NUL.
  const std::wstring from = AddNullTerm(source);
  const std::wstring to = AddNullTerm(target);
  SHFILEOPSTRUCTW op{};
  op.hwnd = ::GetActiveWindow();
  op.wFunc = kFunctions[code];
  op.pFrom = from.c_str();
  op.pTo = to.empty() ? nullptr : to.c_str();
  op.fFlags = FOF_ALLOWUNDO;
  const int rc = ::SHFileOperationW(&op);
  return rc == 0 && !op.fAnyOperationsAborted;
}

std::optional<std::wstring> BrowseForFolder(HWND owner) {
  ComScope com;
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pszDisplayName = displayName;
  info.lpszTitle = Text(Msg::ChooseFolderTitle).c_str();
  LPITEMIDLIST pidl = ::SHBrowseForFolderW(&info);
  if (!pidl) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  const BOOL isFolder = ::SHGetPathFromIDListW(pidl, path);
  ::CoTaskMemFree(pidl);
  // A virtual folder (My Computer, the network) has no path to hand on.
  if (!isFolder || path[0] == L'\0') return std::nullopt;
  return AddSlash(path);
}

std::wstring GetShellFolder(int kind) {
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               true) != ERROR_SUCCESS)
    return std::wstring();
  std::wstring folder;
  if (kind >= 0 && kind < static_cast<int>(std::size(kShellFolderValues))) {
    folder = key.ReadStringOrEmpty(kShellFolderValues[kind]);
  } else if (kind == 8 || kind == 9) {
    wchar_t buf[MAX_PATH] = {};
    UINT n = kind == 8 ? ::GetWindowsDirectoryW(buf, MAX_PATH) : ::GetSystemDirectoryW(buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) folder.assign(buf, n);
  }
  return AddSlash(folder);
}

void ShowFileProperties(const std::wstring& path) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // The failure is told below in the program's own words, not a second time by the shell.
  info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
  info.hwnd = MainWindow();
  info.lpVerb = L"properties";
  info.lpFile = path.c_str();
  info.nShow = SW_SHOW;
  // A path that is not there is told by the file system's own code (file or
  // path not found), which not every shell gives back for this verb.
  DWORD code = 0;
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
    code = ::GetLastError();
  else if (::ShellExecuteExW(&info))
    return;
  else
    code = ::GetLastError();
  for (const ErrorMessage& e : kPropertiesErrors) {
    if (e.code == code) {
      ShowMessage(MainWindow(), e.text, MB_OK);
      return;
    }
  }
  // The shell was asked not to report, so a rarer failure still gets its system text.
  const std::wstring text = code ? SystemErrorText(code) : std::wstring();
  if (!text.empty()) ShowMessage(MainWindow(), text, MB_OK);
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace ferlane
