#include "platform/DialogFont.h"

#include "platform/ScreenDpi.h"

namespace ferlane {
namespace {

HFONT MakeDialogFont(int weight) {
  return ::CreateFontW(FontHeightForDpi(8, ScreenDpi().value), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       L"MS Sans Serif");
}

}  // namespace

HFONT DialogFont() {
  static const HFONT font = MakeDialogFont(FW_NORMAL);
  return font;
}

HFONT BoldDialogFont() {
  static const HFONT font = MakeDialogFont(FW_BOLD);
  return font;
}

}  // namespace ferlane
