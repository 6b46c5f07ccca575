#pragma once
// Many files for the benchmarks. Under Wine each new name in a folder costs
// a scan of the folder (it must rule out a name differing only in letter
// case), so 100,000 files made one by one would take most of an hour; there
// a Unix shell makes them, and removes them again.
#include <windows.h>

#include <string>

namespace bench {

using UnixNameFn = char*(CDECL*)(LPCWSTR);

inline UnixNameFn WineUnixName() {
  return reinterpret_cast<UnixNameFn>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
}

inline std::string UnixPath(UnixNameFn unixName, const std::wstring& path) {
  char* name = unixName(path.c_str());
  std::string result = name ? name : "";
  ::HeapFree(::GetProcessHeap(), 0, name);
  return result;
}

// Runs a Unix shell command (no double quote in it: the line is one quoted
// argument) and waits until it has written the marker file.
inline bool RunUnixShell(const std::string& script, const std::wstring& marker) {
  ::DeleteFileW(marker.c_str());
  std::string line = "/bin/sh -c \"" + script + "\"";
  std::wstring wline(line.begin(), line.end());
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, wline.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  // The handle does not follow the Unix process: wait for its marker.
  for (int i = 0; i < 6000 && ::GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(100);
  const bool done = ::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
  ::DeleteFileW(marker.c_str());
  return done;
}

// Removes a folder and everything in it.
inline void RemoveTree(const std::wstring& folder, const std::wstring& marker) {
  if (UnixNameFn unixName = WineUnixName()) {
    RunUnixShell("rm -rf '" + UnixPath(unixName, folder) + "' && touch '" + UnixPath(unixName, marker) + "'", marker);
    return;
  }
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path, marker);
      else {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
      }
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
  }
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace bench
