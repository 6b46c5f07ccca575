#pragma once
// One small owning handle template for the Win32 handles the program owns
// (HKEY, HANDLE, find handles, HIMAGELIST, HMENU, HFONT, ...), after the
// pattern of unique_any: a traits type says what "no handle" is and how to close.
#include <windows.h>
#include <commctrl.h>
#include <utility>

namespace ferlane {

template <typename Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(pointer h) noexcept : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  pointer get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != Traits::invalid(); }
  pointer release() noexcept { return std::exchange(h_, Traits::invalid()); }
  void reset(pointer h = Traits::invalid()) noexcept {
    pointer old = std::exchange(h_, h);
    if (old != Traits::invalid()) Traits::close(old);
  }
  // For out-parameters of the API calls that create the handle.
  pointer* put() noexcept {
    reset();
    return &h_;
  }

 private:
  pointer h_ = Traits::invalid();
};

namespace handle_traits {
template <typename T, T Invalid, auto Close>
struct Basic {
  using type = T;
  static constexpr T invalid() noexcept { return Invalid; }
  static void close(T h) noexcept { Close(h); }
};
struct Kernel {
  using type = HANDLE;
  static type invalid() noexcept { return nullptr; }
  static void close(type h) noexcept { ::CloseHandle(h); }
};
struct File {
  using type = HANDLE;
  static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(type h) noexcept { ::CloseHandle(h); }
};
struct Find {
  using type = HANDLE;
  static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(type h) noexcept { ::FindClose(h); }
};
struct Key {
  using type = HKEY;
  static type invalid() noexcept { return nullptr; }
  static void close(type h) noexcept { ::RegCloseKey(h); }
};
template <typename T>
struct Gdi {
  using type = T;
  static type invalid() noexcept { return nullptr; }
  static void close(type h) noexcept { ::DeleteObject(h); }
};
struct Menu {
  using type = HMENU;
  static type invalid() noexcept { return nullptr; }
  static void close(type h) noexcept { ::DestroyMenu(h); }
};
struct ImageList {
  using type = HIMAGELIST;
  static type invalid() noexcept { return nullptr; }
  static void close(type h) noexcept { ::ImageList_Destroy(h); }
};
struct Icon {
  using type = HICON;
  static type invalid() noexcept { return nullptr; }
  static void close(type h) noexcept { ::DestroyIcon(h); }
};
struct Window {
  using type = HWND;
  static type invalid() noexcept { return nullptr; }
  static void close(type h) noexcept { ::DestroyWindow(h); }
};
struct Sid {
  using type = PSID;
  static type invalid() noexcept { return nullptr; }
  static void close(type h) noexcept { ::FreeSid(h); }
};
// What the security functions hand back for LocalFree (ACLs, descriptors).
struct Local {
  using type = HLOCAL;
  static type invalid() noexcept { return nullptr; }
  static void close(type h) noexcept { ::LocalFree(h); }
};
struct EventSource {
  using type = HANDLE;
  static type invalid() noexcept { return nullptr; }
  static void close(type h) noexcept { ::DeregisterEventSource(h); }
};
}  // namespace handle_traits

using UniqueKernelHandle = UniqueHandle<handle_traits::Kernel>;
using UniqueFile = UniqueHandle<handle_traits::File>;
using UniqueFind = UniqueHandle<handle_traits::Find>;
using UniqueHKey = UniqueHandle<handle_traits::Key>;
using UniqueHFont = UniqueHandle<handle_traits::Gdi<HFONT>>;
using UniqueHBitmap = UniqueHandle<handle_traits::Gdi<HBITMAP>>;
using UniqueHBrush = UniqueHandle<handle_traits::Gdi<HBRUSH>>;
using UniqueHMenu = UniqueHandle<handle_traits::Menu>;
using UniqueHImageList = UniqueHandle<handle_traits::ImageList>;
using UniqueHIcon = UniqueHandle<handle_traits::Icon>;
using UniqueHwnd = UniqueHandle<handle_traits::Window>;
using UniqueSid = UniqueHandle<handle_traits::Sid>;
using UniqueLocal = UniqueHandle<handle_traits::Local>;
using UniqueEventSource = UniqueHandle<handle_traits::EventSource>;

}  // namespace ferlane
