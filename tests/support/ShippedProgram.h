#pragma once
// What the end-to-end tests need to start the real program and find its
// windows.
#include <windows.h>

#include <string>

namespace ferlane::test {

// The program under test: FERLANE_PROGRAM names it (the test command points
// it at the shipped build); otherwise the one built beside this test program.
std::wstring ShippedProgram();

// A visible top-level window of process `pid` with exactly this caption (and
// this class, when one is given); nullptr when none came within timeoutMs.
HWND WaitForTopWindow(DWORD pid, const std::wstring& caption, const wchar_t* windowClass = nullptr,
                      DWORD timeoutMs = 30000);

}  // namespace ferlane::test
