/* window-probe PROGRAM CAPTION_START CAPTION_END
   Starts PROGRAM from its own folder, as its Start-menu shortcut does, waits
   for a visible top-level window of that process whose caption begins with
   CAPTION_START and ends with CAPTION_END, prints the caption, then closes the
   window as a user would (WM_CLOSE), so that the program writes its list file
   and settings, and waits for it to end.
   Exit status: 0 done; 2 not started; 3 no such window within 60 s; 4 still
   running 30 s after the close (it is then killed). */
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

struct Wanted {
  DWORD pid;
  const wchar_t *start, *end;
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
  wchar_t folder[MAX_PATH] = L"", command[MAX_PATH + 2], *slash;
  char utf8[1024];
  DWORD waited;
  if (argc != 4) return 1;
  wcsncpy(folder, argv[1], MAX_PATH - 1);
  if ((slash = wcsrchr(folder, L'\\')) != NULL) *slash = 0;
  _snwprintf(command, MAX_PATH + 1, L"\"%ls\"", argv[1]);
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
  /* UTF-8, for the shell script that reads it. */
  WideCharToMultiByte(CP_UTF8, 0, w.caption, -1, utf8, sizeof(utf8), NULL, NULL);
  printf("%s\n", utf8);
  fflush(stdout);
  PostMessageW(w.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
    fwprintf(stderr, L"window-probe: %ls still runs after its window was closed\n", argv[1]);
    TerminateProcess(pi.hProcess, 1);
    return 4;
  }
  return 0;
}
