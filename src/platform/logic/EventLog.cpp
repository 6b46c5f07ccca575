#include "platform/logic/EventLog.h"

#include <algorithm>
#include <utility>

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

std::wstring ReasonCounts(const std::vector<std::wstring>& reasons) {
  std::vector<std::pair<std::wstring, std::size_t>> counted;
  for (const std::wstring& reason : reasons) {
    auto it = std::find_if(counted.begin(), counted.end(), [&](const auto& c) { return c.first == reason; });
    if (it == counted.end()) counted.emplace_back(reason, 1);
    else ++it->second;
  }
  std::wstring text;
  for (const auto& [reason, count] : counted) {
    if (!text.empty()) text += L"\r\n";
    text += reason + L" (" + std::to_wstring(count) + L")";
  }
  return text;
}

std::wstring EventInsertion(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    const wchar_t next = i + 1 < text.size() ? text[i + 1] : L'\0';
    if (text[i] == L'%' && ((next >= L'0' && next <= L'9') || next == L'%')) out += L'\u200B';
  }
  return out;
}

std::vector<std::wstring> ItemCountStrings(const std::wstring& where, const std::wstring& to, std::size_t done,
                                           const std::vector<std::wstring>& reasons, std::size_t total,
                                           std::optional<std::size_t> already) {
  std::vector<std::wstring> strings{where, to, std::to_wstring(done), std::to_wstring(reasons.size()),
                                    std::to_wstring(total), ReasonCounts(reasons)};
  if (already) strings.push_back(std::to_wstring(*already));
  return strings;
}

std::optional<EventId> PasswordEvent(bool hadOne, bool hasOne, bool changedByUser) {
  if (!changedByUser) return std::nullopt;
  if (!hadOne) return hasOne ? std::optional<EventId>(EventId::PasswordSet) : std::nullopt;
  return hasOne ? EventId::PasswordChanged : EventId::PasswordRemoved;
}

}  // namespace ferlane
