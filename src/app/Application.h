#pragma once
#include <windows.h>

#include <string>

namespace ferlane {
// The whole start-up sequence, the main loop and the end of the program.
int RunApplication(HINSTANCE instance);
}  // namespace ferlane
