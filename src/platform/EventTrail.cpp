#include "platform/EventTrail.h"

#include <windows.h>

#include "platform/Platform.h"

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

}  // namespace ferlane
