#pragma once
// The "\\?\" form of a listed path. Win32 drops trailing dots and blanks of
// a name ("C:\odd\twin." names "C:\odd\twin") and stops at 260 characters;
// the "\\?\" form names the exact item at any length. That form also skips
// the system's clean-up of the path, so it is done here: "/" becomes "\",
// doubled separators and "." components go, ".." takes its parent away.
#include <string>
#include <string_view>

namespace ferlane {

// "C:\a\b" -> "\\?\C:\a\b"; "\\server\share\x" -> "\\?\UNC\server\share\x".
// A path already in a "\\?\" or "\\.\" form, a relative one or any other
// text (such as "Drives\x") is returned as it is.
std::wstring ExactPath(const std::wstring& path);

// Whether a listed path names one item wherever the program runs: a drive
// path ("C:\a"), a share path with its share ("\\server\share\a") or an
// exact form. A relative path ("docs\a", "C:a") would name something else
// in each current folder, so it is never acted on.
bool IsUsableListPath(const std::wstring& path);

// A listed line without the blanks and tabs around it, then without one
// pair of quotes around what is left: `echo C:\a >> liste` and a quoted
// path name the item a person meant.
std::wstring_view TrimListedName(std::wstring_view line);

// The one spelling of what a listed line names, so the spellings of one
// path are one row: trimmed as above, "/" read as "\", doubled separators,
// "." segments and a final "\" gone (a drive's root keeps it). Letter case
// is left to PathFold.
std::wstring MeantPath(std::wstring_view line);

// What a list path names: a file on disk (or nothing yet), a folder, or a
// device, which no list file can be.
enum class ListFileKind { Disk, Folder, Device };
// Whether the system takes a path's last part for a device, whatever the
// folder before it: CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9 (any
// case, with or without an extension or trailing blanks and dots), CONIN$
// and CONOUT$. Such a name is never opened: a serial port may wait.
bool IsDeviceName(std::wstring_view path);

}  // namespace ferlane
