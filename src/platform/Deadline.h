#pragma once
// Lookups that may hang on a server that does not answer: Windows' network
// redirector waits out its own timeout, tens of seconds, in each call. They
// run on a worker thread, waited for up to a deadline.
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace ferlane {

// A logon script may start the command line before the network is up; the
// window, already showing its splash, waits less.
inline constexpr DWORD kCommandLineLookupMs = 30000;
inline constexpr DWORD kWindowLookupMs = 5000;
// What a lookup past its deadline answers.
inline constexpr DWORD kNoAnswer = ERROR_SEM_TIMEOUT;

// Runs `lookup` on a worker thread of its own (Win32 threads: the runtime of
// the Windows XP builds has no std::thread) and waits for it up to
// deadlineMs: its answer, or nullopt past the deadline. A worker still
// blocked is abandoned: its call is cancelled where the system can
// (CancelSynchronousIo, Windows Vista and later, looked up at run time), and
// it never keeps the process from ending. `lookup` owns what it uses.
std::optional<DWORD> RunWithin(DWORD deadlineMs, std::function<DWORD()> lookup);

// Whether a folder answers: Platform().PathAttributes asked on a worker, once
// per run for each folder (letter case aside), with the first caller's
// deadline; later callers get the first answer, and a folder on a server
// that did not answer is not asked. ERROR_SUCCESS when the system answered,
// whatever it said; kNoAnswer past the deadline.
DWORD FolderAnswers(const std::wstring& folder, DWORD deadlineMs);

// Whether a path lies on a server: a share, or a network drive's letter.
bool OnServer(const std::wstring& path);

// The lookups of one pass over listed paths (the state pass, a hide, a
// show). A path under a server is looked up on a worker with the deadline;
// the first one that does not answer marks its server unreachable for the
// rest of the pass, so a server that is down costs one deadline, not one per
// item. A local path is looked up directly.
class ServerReach {
 public:
  explicit ServerReach(DWORD deadlineMs) : deadlineMs_(deadlineMs) {}
  // Platform().PathAttributes of `path`, or INVALID_FILE_ATTRIBUTES with the
  // last error set (kNoAnswer under a server that did not answer).
  DWORD Attributes(const std::wstring& path);

 private:
  bool Remote(const std::wstring& server);
  DWORD deadlineMs_;
  std::set<std::wstring> silent_;
  std::map<std::wstring, bool> drives_;  // "x:" -> a network drive
};

}  // namespace ferlane
