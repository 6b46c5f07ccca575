#pragma once
// The folder helpers of the shell folders' moves and the hidden store, with
// no window of their own: the command line uses them as the window does.
#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "shellfolders/logic/MergePlan.h"

namespace ferlane {

// The file-system path of a shell special folder, or nothing.
std::optional<std::wstring> SpecialFolderPath(HWND owner, int csidl);
// The user's local application data folder, where older versions kept lists
// and stores; empty when the system has none.
std::wstring LocalAppDataPath();
// The entries of a folder, "." and ".." left out. False, with the system's
// error, when it cannot be read to its end; the entries read so far stay.
bool ReadFolderEntries(const std::wstring& folder, std::vector<FolderEntry>& entries, DWORD& error);
// Moves the folder (or file) at `source` into the folder `destination`; true
// when the shell reports success. `extraFlags` join FOF_FILESONLY.
bool MoveFolder(const std::wstring& source, const std::wstring& destination, FILEOP_FLAGS extraFlags = 0,
                bool* aborted = nullptr);
// One shell operation on one source path, owned by `owner`; the shell's
// result, which callers may pass over, and whether the user cancelled.
int ShellFileOp(HWND owner, const std::wstring& source, const std::wstring& destination, UINT operation,
                FILEOP_FLAGS extraFlags = 0, bool* aborted = nullptr);
// The shell's move of several sources into one folder as one request; what
// SHFileOperation returns, with *aborted set when the user cancelled.
int ShellMoveList(HWND owner, const std::vector<std::wstring>& sources, const std::wstring& destination,
                  FILEOP_FLAGS flags, bool* aborted = nullptr);
// Creates `path` and every missing level above it; ERROR_SUCCESS when the
// folder exists afterwards, else the system's reason.
DWORD CreateFolderPath(const std::wstring& path);
// The longest tails of what a folder holds; a link to elsewhere is not
// followed, as a move takes the link, not what it points to.
InsideLengths LengthsInside(const std::wstring& folder);
// True when `path` names something, file or folder.
bool PathExists(const std::wstring& path);

}  // namespace ferlane
