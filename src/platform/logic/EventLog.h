#pragma once
// The events the program writes to the Application log under the source
// "Ferlane": their stable numbers and types (an Event Forwarding subscription
// filters on them, and the README lists them), and the strings every event
// carries. The texts themselves are the message table of the exe
// (resources/events.mc), one per number, in French and English.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ferlane {

// The log's own type numbers (EVENTLOG_ERROR_TYPE, _WARNING_TYPE, _INFORMATION_TYPE).
enum class EventType : std::uint16_t { Error = 1, Warning = 2, Information = 4 };

// One number per outcome of a command: a subscription picks a type by its
// number alone. Never renumber one; add new ones.
enum class EventId : std::uint32_t {
  ListHidden = 1000,             // "Tout Cacher", /cacher: every item done
  ListHiddenWithFailures = 1001,
  ListShown = 1002,              // "Tout Voir", /voir
  ListShownWithFailures = 1003,
  SelectionToggled = 1004,       // "Cacher ou Voir la sélection"
  SelectionToggledWithFailures = 1005,
  JobUnreadable = 1006,          // a command-line job stopped unchanged (exit 4): the list, its folder or the store
  ShortcutsMoved = 1100,         // between the all-users and the user's folders
  ShortcutsMovedWithFailures = 1101,
  ItemsParked = 1200,            // the user's shortcuts and programs into the hidden store
  ItemsParkedWithFailures = 1201,
  ItemsRestored = 1202,          // out of the hidden store
  ItemsRestoredWithFailures = 1203,
  OlderStoresAdopted = 1300,     // the stores of earlier versions joined the store
  OlderStoreItemsStranded = 1301,
  ShellSettingChanged = 1400,
  PasswordSet = 1500,
  PasswordChanged = 1501,
  PasswordRemoved = 1502,
  RefusedNotAdministrator = 1600,
  RefusedWrongPassword = 1601,
  RefusedDamagedPassword = 1602,
  RefusedElevation = 1603,
};

struct EventKind {
  EventId id;
  EventType type;
  // How many strings the event carries, the four common ones included: the
  // message texts use %1 to %<strings>.
  int strings;
};

// How many strings the events carry: the four common ones, and for a command
// over items six more; a list command adds the items already as asked.
namespace event_strings {
inline constexpr int kCommon = 4;
inline constexpr int kItems = kCommon + 6;  // where, to, done, failed, total, the failures' reasons
inline constexpr int kListItems = kItems + 1;  // and how many were already hidden, or visible
}  // namespace event_strings

// Every event, in number order.
inline constexpr EventKind kEventKinds[] = {
    {EventId::ListHidden, EventType::Information, event_strings::kListItems},
    {EventId::ListHiddenWithFailures, EventType::Warning, event_strings::kListItems},
    {EventId::ListShown, EventType::Information, event_strings::kListItems},
    {EventId::ListShownWithFailures, EventType::Warning, event_strings::kListItems},
    {EventId::SelectionToggled, EventType::Information, event_strings::kItems},
    {EventId::SelectionToggledWithFailures, EventType::Warning, event_strings::kItems},
    {EventId::JobUnreadable, EventType::Error, event_strings::kCommon + 2},  // what could not be read, why
    {EventId::ShortcutsMoved, EventType::Information, event_strings::kItems},
    {EventId::ShortcutsMovedWithFailures, EventType::Warning, event_strings::kItems},
    {EventId::ItemsParked, EventType::Information, event_strings::kItems},
    {EventId::ItemsParkedWithFailures, EventType::Warning, event_strings::kItems},
    {EventId::ItemsRestored, EventType::Information, event_strings::kItems},
    {EventId::ItemsRestoredWithFailures, EventType::Warning, event_strings::kItems},
    {EventId::OlderStoresAdopted, EventType::Information, event_strings::kItems},
    {EventId::OlderStoreItemsStranded, EventType::Warning, event_strings::kItems},
    {EventId::ShellSettingChanged, EventType::Information, event_strings::kCommon + 2},  // which, new value
    {EventId::PasswordSet, EventType::Information, event_strings::kCommon},
    {EventId::PasswordChanged, EventType::Information, event_strings::kCommon},
    {EventId::PasswordRemoved, EventType::Information, event_strings::kCommon},
    {EventId::RefusedNotAdministrator, EventType::Warning, event_strings::kCommon},
    {EventId::RefusedWrongPassword, EventType::Warning, event_strings::kCommon + 1},   // how
    {EventId::RefusedDamagedPassword, EventType::Error, event_strings::kCommon + 1},   // the value
    {EventId::RefusedElevation, EventType::Warning, event_strings::kCommon + 1},       // why
};

const EventKind* FindEventKind(EventId id);
inline EventType TypeOf(EventId id) {
  const EventKind* kind = FindEventKind(id);
  return kind ? kind->type : EventType::Information;
}

// Where the command came from: the fourth string of every event.
enum class EventOrigin { Window, CommandLine };

// The four strings every event begins with: the user, the program's width,
// whether it ran elevated, and where the command came from.
std::vector<std::wstring> CommonEventStrings(const std::wstring& user, int widthBits, bool elevated,
                                             EventOrigin origin);

// A command's failures in one string, by reason and never by item: the
// Application log is readable by every user of the machine, what a user
// hides or parks is his own. Each distinct reason once, in the order first
// met, one a line, with how many items it kept back ("Access denied. (3)");
// empty when there are none.
std::wstring ReasonCounts(const std::vector<std::wstring>& reasons);

// A string as an insertion of the Event Viewer's sentence: "%" followed by a
// digit or another "%" would be taken for an insertion or a parameter there,
// so a zero-width space is put between them; nothing else changes.
std::wstring EventInsertion(const std::wstring& text);

// The event of a command over several items: the plain number when nothing
// failed, the next one (its "with failures" twin) otherwise.
inline EventId WithFailures(EventId plain, std::size_t failed) {
  return failed ? static_cast<EventId>(static_cast<std::uint32_t>(plain) + 1) : plain;
}

// The strings after the common ones for a command over items: where (a list
// file, or the folder moved from), where to (empty for a list), how many
// were done, how many failed (one reason each), how many the command
// concerned, and the reasons counted; then, for a list command, how many
// items were already as asked (counted neither done nor failed).
std::vector<std::wstring> ItemCountStrings(const std::wstring& where, const std::wstring& to, std::size_t done,
                                           const std::vector<std::wstring>& reasons, std::size_t total,
                                           std::optional<std::size_t> already = std::nullopt);

// What the closing write of the password means, if anything: a password
// where there was none, another one, or none any more. Only a change the
// user made counts: a password stored anew in today's form is none.
std::optional<EventId> PasswordEvent(bool hadOne, bool hasOne, bool changedByUser);

}  // namespace ferlane
