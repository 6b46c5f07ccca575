#pragma once
// The event-log trail: one event in the Application log for each command that
// changed something or was refused. The window and the command line each make
// one trail and lend it to the parts that run commands; a part lent none
// writes nothing.
#include <optional>
#include <string>
#include <vector>

#include "platform/logic/EventLog.h"

namespace ferlane {

class IEventTrail {
 public:
  virtual ~IEventTrail() = default;
  // One event; details are its strings after the four every event carries
  // (the user, the width, the elevation, the origin). Never throws, never
  // waits on a refused write.
  virtual void Write(EventId id, const std::vector<std::wstring>& details) = 0;
};

// Writes to a trail that may be absent.
inline void Record(IEventTrail* trail, EventId id, const std::vector<std::wstring>& details = {}) {
  if (trail) trail->Write(id, details);
}

// The trail through the platform's event writer; with enabled false (the
// "Journal des événements" policy off) it writes nothing at all.
class EventTrail final : public IEventTrail {
 public:
  EventTrail(bool enabled, EventOrigin origin) : enabled_(enabled), origin_(origin) {}
  void Write(EventId id, const std::vector<std::wstring>& details) override;
  bool Enabled() const { return enabled_; }

 private:
  bool enabled_;
  EventOrigin origin_;
  // Read at the first event: a run that writes none asks nothing.
  std::optional<std::vector<std::wstring>> common_;
};

}  // namespace ferlane
