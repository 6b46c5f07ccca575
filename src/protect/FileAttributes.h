#pragma once
// The real file system for the hide and show rules, with no window: the
// protected list and the command line both hide and show through it.
#include <cstdint>
#include <string>

#include "protect/logic/HideShow.h"

namespace ferlane {

// The attribute word of a listed path in its exact form; a path that cannot
// be used (relative) reads as missing, ERROR_BAD_PATHNAME the last error.
// The line as written is tried first, then without the blanks, tabs and one
// pair of quotes around it (TrimListedName).
std::uint32_t ListedPathAttributes(const std::wstring& path);

// Paths go to the system in their exact ("\\?\") form.
class Win32FileAttributes : public IFileAttributes {
 public:
  std::uint32_t Get(const std::wstring& path) override;
  std::uint32_t Set(const std::wstring& path, std::uint32_t attributes) override;
};

}  // namespace ferlane
