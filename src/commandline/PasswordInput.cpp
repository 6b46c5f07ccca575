#include "commandline/PasswordInput.h"

#include <algorithm>
#include <string>
#include <string_view>

#include <sodium.h>

#include "commandline/logic/CommandLine.h"
#include "password/logic/PasswordHash.h"
#include "platform/CodePage.h"

namespace ferlane {
namespace {

// Longer than any password; reserved at once, so the buffer never moves and
// leaves no copy behind.
constexpr std::size_t kInputLimit = 64 * 1024;
// How long a reader still blocked at the deadline is given to stop once its
// read is cancelled.
constexpr DWORD kCancelWaitMs = 1000;

// What the reading thread shares with the caller. On the heap: a reader
// still blocked in ReadFile at the deadline outlives the call.
struct InputReader {
  HANDLE in = nullptr;
  std::string bytes;
  bool ended = false;  // the writer closed its end, or the file ended
};

// Reads until the first line is whole or the input ends. ReadFile blocks on
// a pipe whose writer sends nothing; the caller's deadline, not this loop,
// bounds the wait, and no pipe is ever peeked (a Unix pipe under Wine, or a
// socket, cannot be).
DWORD WINAPI ReadFirstLine(void* param) {
  auto& reader = *static_cast<InputReader*>(param);
  char chunk[4096];
  while (reader.bytes.size() < kInputLimit && !FirstLineArrived(reader.bytes)) {
    const DWORD want = static_cast<DWORD>(std::min(sizeof chunk, kInputLimit - reader.bytes.size()));
    DWORD got = 0;
    if (!::ReadFile(reader.in, chunk, want, &got, nullptr) || got == 0) {
      reader.ended = true;
      break;
    }
    reader.bytes.append(chunk, got);
  }
  sodium_memzero(chunk, sizeof chunk);
  return 0;
}

// Stops a reader that is still blocked, where the system can (Windows Vista
// and later); true once it has ended.
bool StopReader(HANDLE thread) {
  using CancelFn = BOOL(WINAPI*)(HANDLE);
  auto cancel = reinterpret_cast<CancelFn>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "CancelSynchronousIo"));
  if (cancel) cancel(thread);
  return ::WaitForSingleObject(thread, kCancelWaitMs) == WAIT_OBJECT_0;
}

}  // namespace

PasswordInput ReadPasswordFromInput(std::wstring& password, DWORD timeoutMs) {
  return ReadPasswordFrom(::GetStdHandle(STD_INPUT_HANDLE), password, timeoutMs);
}

PasswordInput ReadPasswordFrom(HANDLE in, std::wstring& password, DWORD timeoutMs) {
  if (!in || in == INVALID_HANDLE_VALUE) return PasswordInput::NotRedirected;
  const DWORD type = ::GetFileType(in);
  // A file (< motdepasse.txt) or a pipe; a console has someone to type,
  // which a script must never wait for.
  if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) return PasswordInput::NotRedirected;
  auto* reader = new InputReader;
  reader->in = in;
  reader->bytes.reserve(kInputLimit);
  // One deadline from the start, whatever arrives meanwhile.
  HANDLE thread = ::CreateThread(nullptr, 0, ReadFirstLine, reader, 0, nullptr);
  if (!thread) {
    delete reader;
    return PasswordInput::NoLine;
  }
  const bool finished = ::WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
  if (!finished && !StopReader(thread)) {
    // Still blocked: its bytes stay with it, and the run ends right after.
    ::CloseHandle(thread);
    return PasswordInput::NoLine;
  }
  ::CloseHandle(thread);
  PasswordInput result = PasswordInput::Read;
  if (!finished) {
    result = PasswordInput::NoLine;
  } else if (reader->bytes.empty()) {
    result = PasswordInput::NoInput;
  } else if (InputEncodingOf(reader->bytes) == InputEncoding::Unknown) {
    result = PasswordInput::UnknownEncoding;
  } else {
    // A last line the writer closed without a line end (Notepad's way) is the
    // password all the same.
    password = PasswordFromInput(reader->bytes, [](std::string_view line) { return FromCodePage(CP_ACP, line); });
    // A NUL is named as such, never taken for an empty or a wrong password.
    if (password.find(L'\0') != std::wstring::npos) {
      WipeText(password);
      password.clear();
      result = PasswordInput::NulCharacter;
    }
  }
  WipeText(reader->bytes);  // the whole buffer, what a longer read left included
  delete reader;
  return result;
}

}  // namespace ferlane
