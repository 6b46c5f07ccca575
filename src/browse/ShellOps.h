#pragma once
// Shell and disk operations shared by the file list view and the directory
// tree. Messages go through ShowMessage in the message table's language.
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>

namespace ferlane {

// Shell file operation codes, by index.
enum FileOpCode { foCopy = 0, foDelete = 1, foMove = 2, foRename = 3 };

// Whether path names an existing folder.
bool FolderExists(const std::wstring& path);
int GetSmallIconIndex(const std::wstring& path);
int GetOpenIconIndex(const std::wstring& path);
// Total or free bytes / 1024 of the drive named by the first letter; 0 when unreadable.
std::int64_t DiskSizeKB(const std::wstring& root);
std::int64_t DiskFreeKB(const std::wstring& root);
// False when the drive has no medium (with a beep and the no-disk warning when show).
bool CheckDriveReady(wchar_t letter, bool show);
// True (after the already-exists message) when an entry of any kind exists at path.
bool TargetExists(const std::wstring& path);
// ShellExecute with the main window as owner; an error message for results <= 32.
INT_PTR ExecuteFile(const std::wstring& verb, const std::wstring& file, const std::wstring& params,
                    const std::wstring& folder, int show);
// One SHFileOperation, FOF_ALLOWUNDO; true when it returned 0 and nothing was aborted.
bool DoFileOperation(FileOpCode code, const std::wstring& source, const std::wstring& target);
std::optional<std::wstring> BrowseForFolder(HWND owner);
// 0 DeskTop, 1 Favorites, 2 NetHood, 3 Personal, 4 Programs, 5 SendTo, 6 Start Menu,
// 7 StartUp, 8 Windows folder, 9 system folder; a non-empty result ends in "\".
std::wstring GetShellFolder(int kind);
void ShowFileProperties(const std::wstring& path);

// The main window that owns shell dialogs (the application's main window).
HWND MainWindow();
void SetMainWindow(HWND hwnd);

}  // namespace ferlane
