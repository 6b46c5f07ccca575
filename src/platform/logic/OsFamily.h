#pragma once
// Classification of the running Windows version into the family code the
// start-up uses: greater than 3 means the NT family.
#include <string>

namespace ferlane {

struct OsVersion {
  unsigned platformId = 0;  // VER_PLATFORM_WIN32_WINDOWS 1, VER_PLATFORM_WIN32_NT 2
  unsigned major = 0;
  unsigned minor = 0;
  std::wstring csdVersion;  // service-pack text
};

// 0 Win95, 1 Win98, 2 Win98 SE, 3 Me, 4 NT4 and earlier, 5 2000, 6 XP,
// 7 every later NT version (Server 2003, Vista to 11), -1 other.
int ClassifyOsFamily(const OsVersion& v);

inline bool IsNtFamily(int osFamily) { return osFamily > 3; }

}  // namespace ferlane
