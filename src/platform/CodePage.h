#pragma once
// Text in a Windows code page, read into UTF-16 in this one place.
#include <windows.h>

#include <string>
#include <string_view>

namespace ferlane {

// The bytes in `codePage` (CP_ACP, CP_OEMCP, ...); a byte the code page has
// no character for takes the system's default character.
std::wstring FromCodePage(UINT codePage, std::string_view bytes);

}  // namespace ferlane
