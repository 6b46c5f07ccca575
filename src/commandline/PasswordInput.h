#pragma once
// The password of /motdepasse:-, read from the caller's redirected standard
// input without ever waiting on anyone: a console is not read, and a writer
// that sends no whole line is given a bounded time.
#include <windows.h>

#include <string>

namespace ferlane {

enum class PasswordInput {
  Read,             // the first line came, or the last one before the input ended
  NotRedirected,    // standard input is a console or nothing: nobody may type there
  NoLine,           // no whole line and no end of input within the time allowed
  NoInput,          // the input ended with nothing in it
  UnknownEncoding,  // NUL bytes that are no UTF-16 (InputEncodingOf)
  NulCharacter,     // the first line holds a NUL character, which no typed password has
};

// How long a writer has to send the first line, counted from the start of
// the read whatever arrives meanwhile.
constexpr DWORD kPasswordInputTimeoutMs = 10000;

// Reads the first line of standard input into password (UTF-16 with a mark
// or recognised without one, else UTF-8, else the ANSI code page). The read
// runs on a thread of its own, so a writer that never ends the line, or sends
// a byte now and then, cannot hold the run past the deadline. Every buffer
// that held the bytes is wiped before it returns.
PasswordInput ReadPasswordFromInput(std::wstring& password, DWORD timeoutMs = kPasswordInputTimeoutMs);
// The same from a given handle.
PasswordInput ReadPasswordFrom(HANDLE in, std::wstring& password, DWORD timeoutMs = kPasswordInputTimeoutMs);

}  // namespace ferlane
