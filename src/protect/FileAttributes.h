#pragma once
// The real file system for the hide and show rules, with no window: the
// protected list and the command line both hide and show through it.
#include <cstdint>
#include <string>

#include "protect/logic/HideShow.h"

namespace ferlane {

// Paths go to the system in their exact ("\\?\") form.
class Win32FileAttributes : public IFileAttributes {
 public:
  std::uint32_t Get(const std::wstring& path) override;
  std::uint32_t Set(const std::wstring& path, std::uint32_t attributes) override;
};

}  // namespace ferlane
