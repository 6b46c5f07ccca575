#pragma once
// Modal windows of the widgets (context menus, dialogs, the progress window)
// run their own loops: a second thread waits for the first visible window of
// a class on this thread and acts on it.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace ferlane::test {

class WindowAnswerer {
 public:
  static constexpr wchar_t kMenuClass[] = L"#32768";
  static constexpr wchar_t kDialogClass[] = L"#32770";

  WindowAnswerer(std::wstring cls, std::function<void(HWND)> act)
      : cls_(std::move(cls)), act_(std::move(act)), uiThread_(::GetCurrentThreadId()), worker_([this] { Run(); }) {}
  ~WindowAnswerer() {
    stop_ = true;
    worker_.join();
  }
  int answered() const { return answered_; }

  // Closes a context menu as Esc does.
  static void CloseMenu(HWND menuWindow) {
    ::PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
  }

 private:
  struct Search {
    const std::wstring* cls;
    HWND found;
  };
  static BOOL CALLBACK Find(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (::IsWindowVisible(hwnd) && *s->cls == cls) {
      s->found = hwnd;
      return FALSE;
    }
    return TRUE;
  }
  HWND FindWindowOfClass() const {
    Search s{&cls_, nullptr};
    ::EnumThreadWindows(uiThread_, Find, reinterpret_cast<LPARAM>(&s));
    if (!s.found) {
      // Menus belong to the desktop, not to a thread's window list everywhere.
      HWND menu = ::FindWindowW(cls_.c_str(), nullptr);
      if (menu && ::IsWindowVisible(menu) && ::GetWindowThreadProcessId(menu, nullptr) == uiThread_) s.found = menu;
    }
    return s.found;
  }
  void Run() {
    while (!stop_) {
      HWND w = FindWindowOfClass();
      if (w && w != last_) {
        last_ = w;
        ::Sleep(150);  // let the window finish its initialisation
        act_(w);
        ++answered_;
      }
      ::Sleep(30);
    }
  }
  std::wstring cls_;
  std::function<void(HWND)> act_;
  DWORD uiThread_;
  HWND last_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<int> answered_{0};
  std::thread worker_;
};

}  // namespace ferlane::test
