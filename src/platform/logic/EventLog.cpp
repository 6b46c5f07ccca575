#include "platform/logic/EventLog.h"

#include <iterator>

namespace ferlane {

namespace {
constexpr int kCommon = 4;
constexpr int kItems = kCommon + 6;  // where, to, done, failed, total, named failures
}  // namespace

const EventKind kEventKinds[22] = {
    {EventId::ListHidden, EventType::Information, kItems},
    {EventId::ListHiddenWithFailures, EventType::Warning, kItems},
    {EventId::ListShown, EventType::Information, kItems},
    {EventId::ListShownWithFailures, EventType::Warning, kItems},
    {EventId::SelectionToggled, EventType::Information, kItems},
    {EventId::SelectionToggledWithFailures, EventType::Warning, kItems},
    {EventId::ShortcutsMoved, EventType::Information, kItems},
    {EventId::ShortcutsMovedWithFailures, EventType::Warning, kItems},
    {EventId::ItemsParked, EventType::Information, kItems},
    {EventId::ItemsParkedWithFailures, EventType::Warning, kItems},
    {EventId::ItemsRestored, EventType::Information, kItems},
    {EventId::ItemsRestoredWithFailures, EventType::Warning, kItems},
    {EventId::OlderStoresAdopted, EventType::Information, kItems},
    {EventId::OlderStoreItemsStranded, EventType::Warning, kItems},
    {EventId::ShellSettingChanged, EventType::Information, kCommon + 2},  // which, new value
    {EventId::PasswordSet, EventType::Information, kCommon},
    {EventId::PasswordChanged, EventType::Information, kCommon},
    {EventId::PasswordRemoved, EventType::Information, kCommon},
    {EventId::RefusedNotAdministrator, EventType::Warning, kCommon},
    {EventId::RefusedWrongPassword, EventType::Warning, kCommon + 1},   // how
    {EventId::RefusedDamagedPassword, EventType::Error, kCommon + 1},   // the value
    {EventId::RefusedElevation, EventType::Warning, kCommon + 1},       // why
};

const EventKind* FindEventKind(EventId id) {
  for (const EventKind& kind : kEventKinds)
    if (kind.id == id) return &kind;
  return nullptr;
}

std::vector<std::wstring> CommonEventStrings(const std::wstring& user, int widthBits, bool elevated,
                                             EventOrigin origin) {
  return {user, std::to_wstring(widthBits) + L" bits", elevated ? L"\u00E9lev\u00E9" : L"non \u00E9lev\u00E9",
          origin == EventOrigin::Window ? L"fen\u00EAtre" : L"ligne de commande"};
}

std::wstring NamedFailures(const std::vector<std::wstring>& failures, std::size_t shown) {
  std::wstring text;
  for (std::size_t i = 0; i < failures.size() && i < shown; ++i) {
    if (i) text += L"\r\n";
    text += failures[i];
  }
  if (failures.size() > shown) {
    const std::size_t more = failures.size() - shown;
    text += L"\r\n(et " + std::to_wstring(more) + (more == 1 ? L" autre)" : L" autres)");
  }
  return text;
}

std::vector<std::wstring> ItemCountStrings(const std::wstring& where, const std::wstring& to, std::size_t done,
                                           const std::vector<std::wstring>& failures, std::size_t total) {
  return {where, to, std::to_wstring(done), std::to_wstring(failures.size()), std::to_wstring(total),
          NamedFailures(failures)};
}

std::optional<EventId> PasswordEvent(bool hadOne, bool hasOne, bool changedByUser) {
  if (!changedByUser) return std::nullopt;
  if (!hadOne) return hasOne ? std::optional<EventId>(EventId::PasswordSet) : std::nullopt;
  return hasOne ? EventId::PasswordChanged : EventId::PasswordRemoved;
}

}  // namespace ferlane
