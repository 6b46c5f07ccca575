#include "platform/logic/Dpi.h"

#include <climits>
#include <cstdint>

namespace ferlane {

int ScaleForDpi(int design, int dpi) {
  const std::int64_t product = static_cast<std::int64_t>(design) * dpi;
  const std::int64_t half = kDesignDpi / 2;
  std::int64_t scaled = (product >= 0 ? product + half : product - half) / kDesignDpi;
  if (scaled > INT_MAX) scaled = INT_MAX;
  if (scaled < INT_MIN) scaled = INT_MIN;
  return static_cast<int>(scaled);
}

int UsableDpi(int reported) {
  // Windows offers 96 to 480 DPI (100 % to 500 %); a little room either side.
  return reported >= 48 && reported <= 960 ? reported : kDesignDpi;
}

int FontHeightForDpi(int points, int dpi) {
  const std::int64_t pixels = (static_cast<std::int64_t>(points) * dpi + 36) / 72;
  return -static_cast<int>(pixels);
}

int PictureStep(int dpi) {
  int step = 0;
  while (step + 1 < kPictureSteps && kPictureStepDpi[step + 1] <= dpi) ++step;
  return step;
}

int SmallPictureSize(int dpi) { return ScaleForDpi(16, kPictureStepDpi[PictureStep(dpi)]); }

int ToolbarPictureSize(int dpi) { return ScaleForDpi(42, kPictureStepDpi[PictureStep(dpi)]); }

}  // namespace ferlane
