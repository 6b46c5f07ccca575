// Start-up and close of the real program (ferlane.exe, or ferlane64.exe in
// the 64-bit build: the build passes its name) with a 100,000-item protected
// list against the same with an empty list, both timed in this run: from
// CreateProcess to the main window shown (visible, painted and answering
// messages), and from the close request to the process's end (the list file
// written).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "protect/ListFileIo.h"

#ifndef FERLANE_PROGRAM_FILE
#error "the build names the program it starts (FERLANE_PROGRAM_FILE)"
#endif

namespace {

// The program's file name as the build gives it.
constexpr wchar_t kProgramFile[] = L"" FERLANE_PROGRAM_FILE;
constexpr int kItems = 100000;
constexpr int kRuns = 3;

std::wstring Here() {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring s = self;
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

struct Found {
  DWORD pid;
  HWND window;
};

BOOL CALLBACK FindMainWindow(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  wchar_t text[64] = {};
  ::GetWindowTextW(h, text, 64);
  if (pid == f->pid && ::IsWindowVisible(h) && wcsncmp(text, L"Ferlane 1.0 - ", 14) == 0) {
    f->window = h;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleMainWindow(DWORD pid) {
  Found f{pid, nullptr};
  ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&f));
  return f.window;
}

struct Timing {
  double start = 1e9, close = 1e9;
  // Of the best close: until the main window was gone (the close steps and
  // the windows' destruction), and from then to the process's end.
  double windowGone = 0, exit = 0;
};

// One start and close; the list file holds `lines` each time.
bool RunOnce(const std::wstring& folder, const std::wstring& listFile, const std::string& bytes, Timing& t) {
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");  // no password window
  HANDLE h = ::CreateFileW(listFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  ::CloseHandle(h);
  const std::wstring program = folder + kProgramFile;
  std::wstring cmd = L"\"" + program + L"\"";
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  const double t0 = Now();
  if (!::CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    return false;
  HWND main = nullptr;
  while (!(main = VisibleMainWindow(pi.dwProcessId)) && Now() - t0 < 600) ::Sleep(5);
  if (!main) return false;
  // Shown means drawn and answering: the window is visible before its first
  // paint is done, and a close request sent then would wait for that paint
  // and be charged with it.
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &answer);
  const double t1 = Now();
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  while (::IsWindow(main) && Now() - t1 < 600) ::Sleep(1);
  const double tw = Now();
  ::WaitForSingleObject(pi.hProcess, 600000);
  const double t2 = Now();
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(pi.hThread);
  t.start = std::min(t.start, t1 - t0);
  if (t2 - t1 < t.close) {
    t.close = t2 - t1;
    t.windowGone = tw - t1;
    t.exit = t2 - tw;
  }
  return true;
}

}  // namespace

int wmain() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"ferlane-bench-startup\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  if (!::CopyFileW((Here() + kProgramFile).c_str(), (folder + kProgramFile).c_str(), FALSE)) {
    std::printf("%ls must be built beside the benchmark\n", kProgramFile);
    return 1;
  }
  wchar_t user[256] = {};
  DWORD n = 256;
  ::GetUserNameW(user, &n);
  const std::wstring listFile = folder + user;
  // Paths of a real list: most in a few folders, of a few kinds, many gone.
  std::vector<std::wstring> lines;
  lines.reserve(kItems * 2);
  for (int i = 0; i < kItems; ++i) {
    lines.push_back(L"C:\\Donn\u00E9es\\dossier" + std::to_wstring(i % 50) + L"\\fichier" + std::to_wstring(i) +
                    (i % 3 ? L".doc" : L".txt"));
    lines.emplace_back(i % 10 ? L"Fichier" : L"Dossier");
  }
  const std::string full = ferlane::EncodeListLines(lines);
  // The same list with LF line ends, as an editor may leave it: the program
  // writes it again at close, in its own form, even unchanged.
  std::string rewritten;
  for (char c : full)
    if (c != '\r') rewritten += c;
  Timing empty, large, rewrite;
  for (int run = 0; run < kRuns; ++run) {
    if (!RunOnce(folder, listFile, "", empty) || !RunOnce(folder, listFile, full, large) ||
        !RunOnce(folder, listFile, rewritten, rewrite)) {
      std::printf("the program did not come up\n");
      return 1;
    }
  }
  std::printf("start-up, empty list:        %8.3f s\n", empty.start);
  std::printf("start-up, %d items:      %8.3f s  ratio %.2f (at most 3)\n", kItems, large.start,
              large.start / empty.start);
  std::printf("close, empty list:           %8.3f s\n", empty.close);
  std::printf("close, %d items:         %8.3f s  ratio %.2f (aim <= 1.50)\n", kItems, large.close,
              large.close / empty.close);
  std::printf("  of which, empty list / %d items: window gone after %.3f / %.3f s, process ended %.3f / %.3f s later\n",
              kItems, empty.windowGone, large.windowGone, empty.exit, large.exit);
  std::printf("close, %d items written: %8.3f s  ratio %.2f (the list file rewritten)\n", kItems, rewrite.close,
              rewrite.close / empty.close);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ferlane");
  return 0;
}
