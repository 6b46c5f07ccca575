#include "app/PasswordInput.h"

#include <algorithm>
#include <string>
#include <string_view>

#include <sodium.h>

#include "app/logic/CommandLine.h"
#include "app/logic/PasswordHash.h"
#include "platform/CodePage.h"

namespace ferlane {
namespace {

// Longer than any password; reserved at once, so the buffer never moves and
// leaves no copy behind.
constexpr std::size_t kInputLimit = 64 * 1024;

// Reads until the first line is whole or the input ends. A pipe is only read
// when it holds bytes, so a writer that keeps its end open without finishing
// the line cannot hold the program past the deadline.
bool ReadFirstLine(HANDLE in, std::string& bytes, DWORD timeoutMs) {
  const bool pipe = ::GetFileType(in) == FILE_TYPE_PIPE;
  const DWORD start = ::GetTickCount();
  char chunk[4096];
  bool arrived = true;
  while (bytes.size() < kInputLimit && !FirstLineArrived(bytes)) {
    DWORD want = static_cast<DWORD>(std::min(sizeof chunk, kInputLimit - bytes.size()));
    if (pipe) {
      DWORD ready = 0;
      // Fails once the writer has closed its end and everything was read.
      if (!::PeekNamedPipe(in, nullptr, 0, nullptr, &ready, nullptr)) break;
      if (ready == 0) {
        if (::GetTickCount() - start >= timeoutMs) {
          arrived = false;
          break;
        }
        ::Sleep(20);
        continue;
      }
      want = std::min(want, ready);
    }
    DWORD got = 0;
    if (!::ReadFile(in, chunk, want, &got, nullptr) || got == 0) break;
    bytes.append(chunk, got);
  }
  sodium_memzero(chunk, sizeof chunk);
  return arrived;
}

}  // namespace

PasswordInput ReadPasswordFromInput(std::wstring& password, DWORD timeoutMs) {
  HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
  if (!in || in == INVALID_HANDLE_VALUE) return PasswordInput::NotRedirected;
  const DWORD type = ::GetFileType(in);
  if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) return PasswordInput::NotRedirected;
  std::string bytes;
  bytes.reserve(kInputLimit);
  const bool arrived = ReadFirstLine(in, bytes, timeoutMs);
  if (arrived)
    password = PasswordFromInput(bytes, [](std::string_view line) { return FromCodePage(CP_ACP, line); });
  WipeText(bytes);  // the whole buffer, what a longer read left included
  return arrived ? PasswordInput::Read : PasswordInput::NoLine;
}

}  // namespace ferlane
