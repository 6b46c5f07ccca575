#include "platform/logic/OsFamily.h"

namespace ferlane {

int ClassifyOsFamily(const OsVersion& v) {
  if (v.platformId == 1) {
    if (v.major == 4 && v.minor == 0) return 0;
    if (v.major == 4 && v.minor == 10) return (v.csdVersion.size() > 1 && v.csdVersion[1] == L'A') ? 2 : 1;
    if (v.major == 4 && v.minor == 90) return 3;
    return -1;
  }
  if (v.platformId == 2) {
    if (v.major <= 4) return 4;
    if (v.major == 5 && v.minor == 0) return 5;
    if (v.major == 5 && v.minor == 1) return 6;
    // Server 2003 and Vista to 11 are NT too: their administrators are
    // tested and named as on XP, and keep the store of that name.
    return 7;
  }
  return -1;
}

}  // namespace ferlane
