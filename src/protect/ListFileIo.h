#pragma once
// Reading and writing the per-user list file. Files are ANSI text as before;
// a list holding a path the ANSI code page cannot spell is written as UTF-8
// behind a byte-order mark instead, so no path is saved as "?".
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace ferlane {

// The file's lines. A missing file (or folder) gives no lines and
// ERROR_SUCCESS; a file that exists but cannot be read gives the system's
// error code. Other programs may read the file meanwhile, not write it.
DWORD ReadListFile(const std::wstring& fileName, std::vector<std::wstring>& lines);

// Replaces the file's content with the lines, each ended by CR LF; an empty
// list gives a zero-byte file. The old file stays whole until the new one is
// complete on disk. Returns ERROR_SUCCESS or the system's error code.
DWORD WriteListFile(const std::wstring& fileName, const std::vector<std::wstring>& lines);

// The bytes of a list file, and back.
std::string EncodeListLines(const std::vector<std::wstring>& lines);
std::vector<std::wstring> DecodeListBytes(std::string_view bytes);

// "Impossible d'ouvrir le fichier "<name>". <system reason>"
std::wstring OpenListFileErrorText(const std::wstring& fileName, DWORD error);
// "Impossible de créer le fichier "<name>". <system reason>"
std::wstring CreateListFileErrorText(const std::wstring& fileName, DWORD error);

}  // namespace ferlane
