#pragma once
// The real file system for the hide and show rules, with no window: the
// protected list and the command line both hide and show through it.
#include <cstdint>
#include <string>

#include "platform/Deadline.h"
#include "protect/logic/HideShow.h"

namespace ferlane {

// The attribute word of a listed path in its exact form; a path that cannot
// be used (relative) reads as missing, ERROR_BAD_PATHNAME the last error.
// The line as written is tried first, then without the blanks, tabs and one
// pair of quotes around it (TrimListedName).
std::uint32_t ListedPathAttributes(const std::wstring& path);
// The same, read as one pass reads it: a server that did not answer an
// earlier item of the pass is not asked again (kNoAnswer the last error).
std::uint32_t ListedPathAttributes(const std::wstring& path, ServerReach& pass);

// Paths go to the system in their exact ("\\?\") form. One object is one
// pass: a server that does not answer is waited for once.
class Win32FileAttributes : public IFileAttributes {
 public:
  explicit Win32FileAttributes(DWORD deadlineMs = kWindowLookupMs) : pass_(deadlineMs) {}
  std::uint32_t Get(const std::wstring& path) override;
  std::uint32_t Set(const std::wstring& path, std::uint32_t attributes) override;

 private:
  ServerReach pass_;
};

}  // namespace ferlane
