#pragma once
// The screen's DPI, for the layout and the pictures.
#include "platform/logic/Dpi.h"

namespace ferlane {

// Read from the screen at the first call (LOGPIXELSX) and kept for the run:
// every window of a run is laid out for the same DPI.
Dpi ScreenDpi();

}  // namespace ferlane
