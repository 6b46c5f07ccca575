#pragma once
// The one dialog font of every window: "MS Sans Serif" 8 point at the
// screen's DPI (its bold cut for a name that must stand out).
#include <windows.h>

namespace ferlane {

// Made on first use for the screen's DPI (ScreenDpi) and kept for the run:
// nobody frees them, and every window of a run shares them.
HFONT DialogFont();
HFONT BoldDialogFont();

}  // namespace ferlane
