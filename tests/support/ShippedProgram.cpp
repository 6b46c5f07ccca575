#include "support/ShippedProgram.h"

#include <cwchar>

namespace ferlane::test {
namespace {

struct Wanted {
  const wchar_t* caption;
  const wchar_t* windowClass;
  DWORD pid;
  HWND found;
};

// A named callback, not a lambda: on 32-bit Windows the callback must be
// __stdcall, which a lambda does not convert to with GCC.
BOOL CALLBACK MatchTopWindow(HWND h, LPARAM lp) {
  auto* w = reinterpret_cast<Wanted*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  wchar_t cls[64] = {}, text[256] = {};
  ::GetClassNameW(h, cls, 64);
  ::GetWindowTextW(h, text, 256);
  if (pid == w->pid && ::IsWindowVisible(h) && (!w->windowClass || std::wcscmp(cls, w->windowClass) == 0) &&
      std::wcscmp(text, w->caption) == 0) {
    w->found = h;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::wstring ShippedProgram() {
  wchar_t named[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableW(L"FERLANE_PROGRAM", named, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return named;
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring s = self;
  return s.substr(0, s.find_last_of(L'\\') + 1) + (sizeof(void*) == 8 ? L"ferlane64.exe" : L"ferlane.exe");
}

HWND WaitForTopWindow(DWORD pid, const std::wstring& caption, const wchar_t* windowClass, DWORD timeoutMs) {
  Wanted w{caption.c_str(), windowClass, pid, nullptr};
  for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < timeoutMs; ::Sleep(50)) {
    ::EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&w));
    if (w.found) return w.found;
  }
  return nullptr;
}

}  // namespace ferlane::test
