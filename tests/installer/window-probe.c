/* window-probe PROGRAM CAPTION_START CAPTION_END
   Starts PROGRAM from its own folder, as the Start-menu shortcut does, and waits
   for a visible top-level window of that process whose caption begins with
   CAPTION_START and ends with CAPTION_END; prints the caption, then closes the
   window as a user would (WM_CLOSE) and waits for the program to end, so that
   it writes its list file and settings.
   Exit status: 0 done; 2 the program did not start; 3 no such window within
   60 s; 4 the program did not end within 30 s of the close (it is killed). */
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

struct Wanted {
  DWORD pid;
  const wchar_t* start;
  const wchar_t* end;
  HWND found;
  wchar_t caption[512];
};

static BOOL CALLBACK Match(HWND h, LPARAM lp) {
  struct Wanted* w = (struct Wanted*)lp;
  DWORD pid = 0;
  size_t n, s = wcslen(w->start), e = wcslen(w->end);
  GetWindowThreadProcessId(h, &pid);
  if (pid != w->pid || !IsWindowVisible(h)) return TRUE;
  GetWindowTextW(h, w->caption, 512);
  n = wcslen(w->caption);
  if (n >= s + e && wcsncmp(w->caption, w->start, s) == 0 && wcscmp(w->caption + n - e, w->end) == 0) {
    w->found = h;
    return FALSE;
  }
  return TRUE;
}

int wmain(int argc, wchar_t** argv) {
  STARTUPINFOW si = {sizeof(si)};
  PROCESS_INFORMATION pi;
  struct Wanted w = {0};
  wchar_t folder[MAX_PATH], command[MAX_PATH + 2], *slash;
  DWORD waited;
  if (argc != 4) {
    fwprintf(stderr, L"usage: window-probe PROGRAM CAPTION_START CAPTION_END\n");
    return 1;
  }
  wcsncpy(folder, argv[1], MAX_PATH - 1);
  folder[MAX_PATH - 1] = 0;
  slash = wcsrchr(folder, L'\\');
  if (slash) *slash = 0;
  _snwprintf(command, MAX_PATH + 2, L"\"%ls\"", argv[1]);
  command[MAX_PATH + 1] = 0;
  if (!CreateProcessW(argv[1], command, NULL, NULL, FALSE, 0, NULL, folder, &si, &pi)) {
    fwprintf(stderr, L"window-probe: cannot start %ls (error %lu)\n", argv[1], GetLastError());
    return 2;
  }
  w.pid = pi.dwProcessId;
  w.start = argv[2];
  w.end = argv[3];
  for (waited = 0; waited < 60000 && !w.found; waited += 100) {
    if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
    EnumWindows(Match, (LPARAM)&w);
  }
  if (!w.found) {
    fwprintf(stderr, L"window-probe: no main window from %ls\n", argv[1]);
    TerminateProcess(pi.hProcess, 1);
    return 3;
  }
  /* The caption goes out as UTF-8: the shell script compares it. */
  {
    char utf8[1024];
    WideCharToMultiByte(CP_UTF8, 0, w.caption, -1, utf8, sizeof(utf8), NULL, NULL);
    printf("%s\n", utf8);
    fflush(stdout);
  }
  PostMessageW(w.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
    fwprintf(stderr, L"window-probe: %ls did not end after its window was closed\n", argv[1]);
    TerminateProcess(pi.hProcess, 1);
    return 4;
  }
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return 0;
}
