#include "platform/ScreenDpi.h"

#include <windows.h>

namespace ferlane {

Dpi ScreenDpi() {
  static const Dpi dpi = [] {
    HDC screen = ::GetDC(nullptr);
    const int reported = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return Dpi{UsableDpi(reported)};
  }();
  return dpi;
}

}  // namespace ferlane
