#include "policies/logic/Policies.h"

#include <algorithm>

#include "protect/logic/ListFile.h"

namespace ferlane {
namespace {

std::optional<std::wstring> TextOf(const IPolicyLevel& level, const PolicyRule& rule) {
  std::optional<std::wstring> text = level.Text(rule.valueName);
  if (text && text->empty()) return std::nullopt;
  return text;
}

std::uint32_t NumberOf(const IPolicyLevel& machine, const IPolicyLevel& user, const PolicyRule& rule) {
  std::optional<std::uint32_t> n = machine.Number(rule.valueName);
  if (!n) n = user.Number(rule.valueName);
  if (!n) return rule.fallback;
  return std::clamp(*n, rule.minimum, rule.maximum);
}

}  // namespace

Policies ResolvePolicies(const IPolicyLevel& machine, const IPolicyLevel& user) {
  Policies p;
  for (const PolicyRule& rule : kPolicyTable) {
    switch (rule.id) {
      case PolicyId::ListFolder: {
        std::optional<std::wstring> folder = TextOf(machine, rule);
        if (!folder) folder = TextOf(user, rule);
        p.listFolder = folder.value_or(std::wstring());
        break;
      }
      case PolicyId::MinPasswordLength: p.minPasswordLength = NumberOf(machine, user, rule); break;
      case PolicyId::LockSettings: p.lockSettings = NumberOf(machine, user, rule) != 0; break;
      case PolicyId::EventLog: p.eventLog = NumberOf(machine, user, rule) != 0; break;
    }
  }
  return p;
}

bool IsAbsoluteFolder(std::wstring_view folder) {
  const auto letter = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); };
  if (folder.size() >= 3 && letter(folder[0]) && folder[1] == L':' && folder[2] == L'\\') return true;
  // "\\server\share": a server's name and a share's, both there.
  if (folder.size() < 5 || folder.substr(0, 2) != L"\\\\") return false;
  const std::size_t shareAt = folder.find(L'\\', 2);
  return shareAt != std::wstring_view::npos && shareAt > 2 && shareAt + 1 < folder.size() &&
         folder[shareAt + 1] != L'\\';
}

std::wstring UserListPath(const Policies& policies, const std::wstring& programFolder, const std::wstring& userName) {
  return ListFilePath(policies.listFolder.empty() ? programFolder : policies.listFolder, userName);
}

std::optional<std::wstring> ShortPasswordText(std::wstring_view typed, std::uint32_t minLength) {
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < typed.size(); ++i, ++length)
    if (typed[i] >= 0xD800 && typed[i] <= 0xDBFF && i + 1 < typed.size() && typed[i + 1] >= 0xDC00 &&
        typed[i + 1] <= 0xDFFF)
      ++i;
  if (length >= minLength) return std::nullopt;
  return L"L'administrateur demande un mot de passe d'au moins " + std::to_wstring(minLength) +
         (minLength == 1 ? L" caract\u00E8re" : L" caract\u00E8res") +
         L". Tapez-en un plus long, puis confirmez-le.";
}

}  // namespace ferlane
