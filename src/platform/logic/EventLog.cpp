#include "platform/logic/EventLog.h"

namespace ferlane {

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
