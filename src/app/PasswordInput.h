#pragma once
// The password of /motdepasse:-, read from the caller's redirected standard
// input without ever waiting on anyone: a console is not read, and a writer
// that sends no whole line is given a bounded time.
#include <windows.h>

#include <string>

namespace ferlane {

enum class PasswordInput {
  Read,           // the first line came (or the input ended)
  NotRedirected,  // standard input is a console or nothing: nobody may type there
  NoLine,         // no whole line and no end of input within the time allowed
};

// How long a writer has to send the first line.
constexpr DWORD kPasswordInputTimeoutMs = 10000;

// Reads the first line of standard input into password (UTF-16 with a mark,
// else UTF-8, else the ANSI code page). Every buffer that held the bytes is
// wiped before it returns.
PasswordInput ReadPasswordFromInput(std::wstring& password, DWORD timeoutMs = kPasswordInputTimeoutMs);

}  // namespace ferlane
