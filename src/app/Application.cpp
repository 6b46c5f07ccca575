#include "app/Application.h"

namespace ferlane {
int RunApplication(HINSTANCE) { return 0; }
}  // namespace ferlane
