#pragma once
#include <windows.h>
#include <exception>
#include <string>

namespace ferlane {
// The system's own text for an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD code);
// The message of an exception, whose text the program writes as UTF-8.
std::wstring ExceptionText(const std::exception& e);
}  // namespace ferlane
