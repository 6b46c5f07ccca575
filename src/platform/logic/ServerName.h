#pragma once
// Which server a path lies on, so that one that does not answer is asked
// once per pass, not once per item.
#include <string>
#include <string_view>

namespace ferlane {

// "\\server" (letters folded to lower case) for a path on a share, in the
// plain or the exact ("\\?\UNC\") form; "x:" for a path on a drive letter,
// which is a server's only when the drive is a network one; empty for
// anything else (a relative path, a device).
std::wstring ServerOf(std::wstring_view path);

}  // namespace ferlane
