#pragma once
// Shell link (.lnk) files: reading a shortcut's target and writing a new one.
#include <windows.h>

#include <string>

namespace ferlane {

// The target path of a shortcut file, resolved with the main window as owner
// (SLR_ANY_MATCH); empty on any failure.
std::wstring ResolveShortcut(const std::wstring& linkPath);

// Writes a shortcut at linkPath to target, with its working folder and
// description; false when any step failed.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target, const std::wstring& workingFolder,
                    const std::wstring& description);

}  // namespace ferlane
