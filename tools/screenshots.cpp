// Saves a picture of the main window with each of its four tabs in front, at
// the design size, as tab1.bmp .. tab4.bmp, and of its last menu open, as
// menu.bmp, in the folder given on the command line. Run by
// scripts/screenshots.sh for a reviewer to look at.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "platform/Messages.h"

namespace {

void Pump(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(50);
  }
}

bool SaveWindow(HWND hwnd, const std::wstring& path) {
  RECT rc;
  ::GetWindowRect(hwnd, &rc);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
  ::GdiFlush();
  const DWORD stride = (w * 3 + 3) & ~3, size = stride * h;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  bool saved = false;
  if (FILE* f = _wfopen(path.c_str(), L"wb")) {
    saved = fwrite(&file, sizeof(file), 1, f) == 1 && fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, f) == 1 &&
            fwrite(bits, size, 1, f) == 1;
    fclose(f);
  }
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return saved;
}

// The "A Propos" menu open, saved by a timer that runs inside the menu's own
// loop, then closed: its one caption must show whole at every DPI.
std::wstring g_menuPicture;

void CALLBACK SaveOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  if (HWND menu = ::FindWindowW(L"#32768", nullptr)) SaveWindow(menu, g_menuPicture);
  ::EndMenu();
}

bool SaveAboutMenu(HWND main, const std::wstring& path) {
  HMENU bar = ::GetMenu(main);
  const int last = ::GetMenuItemCount(bar) - 1;
  RECT item;
  if (last < 0 || !::GetMenuItemRect(main, bar, last, &item)) return false;
  g_menuPicture = path;
  ::DeleteFileW(path.c_str());
  ::SetTimer(nullptr, 0, 500, SaveOpenMenu);
  ::TrackPopupMenu(::GetSubMenu(bar, last), TPM_LEFTALIGN | TPM_TOPALIGN, item.left, item.bottom, 0, main, nullptr);
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    fwprintf(stderr, L"usage: screenshots OUTPUT_FOLDER PROGRAM_FOLDER\n");
    return 2;
  }
  std::wstring out = argv[1], program = argv[2];
  if (out.back() != L'\\') out += L'\\';
  if (program.back() != L'\\') program += L'\\';
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);
  ferlane::SetApplicationTitle(L"Ferlane");
  ferlane::Tficheprincipale main(program);
  if (!main.Create(::GetModuleHandleW(nullptr))) return 1;
  main.ShowFirstTime();
  ::SetForegroundWindow(main.hwnd());
  Pump(20);
  int failures = 0;
  for (int tab = 0; tab < 4; ++tab) {
    TabCtrl_SetCurFocus(main.PageControl1(), tab);  // as a click on the tab: its page comes to the front
    Pump(tab == 0 ? 1 : 10);
    if (!SaveWindow(main.hwnd(), out + L"tab" + std::to_wstring(tab + 1) + L".bmp")) ++failures;
  }
  if (!SaveAboutMenu(main.hwnd(), out + L"menu.bmp")) ++failures;
  ::DestroyWindow(main.hwnd());
  ::OleUninitialize();
  return failures;
}
