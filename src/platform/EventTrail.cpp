#include "platform/EventTrail.h"

#include <windows.h>

#include "platform/Platform.h"
#include "platform/AccessLists.h"
#include "platform/UniqueHandle.h"

namespace ferlane {
namespace {

// Whether the process runs with an administrator's full rights: an elevated
// token, or (UAC off, Windows XP) a token that is all there is and holds the
// Administrators group.
bool RunsElevated() {
  switch (Platform().Elevation()) {
    case TokenElevation::Full: return true;
    case TokenElevation::Limited: return false;
    default: return Platform().IsAdministrator();
  }
}

}  // namespace

void EventTrail::Write(EventId id, const std::vector<std::wstring>& details) {
  if (!enabled_) return;
  const EventKind* kind = FindEventKind(id);
  if (!kind) return;
  try {
    if (!common_)
      common_ = CommonEventStrings(Platform().LogonUserName(), static_cast<int>(sizeof(void*) * 8), RunsElevated(),
                                   origin_);
    std::vector<std::wstring> strings = *common_;
    strings.insert(strings.end(), details.begin(), details.end());
    // Exactly as many strings as the message's insertions: a missing one
    // would show as "%7" in the Event Viewer.
    strings.resize(static_cast<std::size_t>(kind->strings));
    for (std::wstring& s : strings) s = EventInsertion(s);
    // The job goes on whatever the log answers.
    Platform().WriteEvent(static_cast<WORD>(kind->type), static_cast<DWORD>(id), strings);
  } catch (...) {
    // An event that cannot be made (memory) is left out, never the job.
  }
}

DWORD Win32Platform::WriteEvent(WORD type, DWORD id, const std::vector<std::wstring>& strings) {
  // An unregistered source writes too: the Event Viewer then shows the
  // strings without the message's sentence.
  const UniqueEventSource source(::RegisterEventSourceW(nullptr, L"Ferlane"));
  if (!source) return ::GetLastError();
  std::vector<LPCWSTR> pointers;
  for (const std::wstring& s : strings) pointers.push_back(s.c_str());
  // The account in the event's user field: the Event Viewer shows it, and
  // a query can filter on it. Written without one when the token is unread.
  std::vector<BYTE> user = TokenUserSid();
  const PSID sid = user.empty() ? nullptr : static_cast<PSID>(user.data());
  const BOOL written = ::ReportEventW(source.get(), type, 0, id, sid, static_cast<WORD>(pointers.size()), 0,
                                      pointers.empty() ? nullptr : pointers.data(), nullptr);
  return written ? static_cast<DWORD>(ERROR_SUCCESS) : ::GetLastError();
}

}  // namespace ferlane
