#include "policies/PolicyReader.h"

#include <windows.h>

#include "platform/Registry.h"

namespace ferlane {
namespace {

std::wstring Expanded(const std::wstring& text) {
  const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (needed == 0) return text;
  std::wstring out(needed, L'\0');
  const DWORD got = ::ExpandEnvironmentStringsW(text.c_str(), out.data(), needed);
  if (got == 0 || got > needed) return text;
  out.resize(got - 1);  // the count holds the terminator
  return out;
}

class RegistryLevel final : public IPolicyLevel {
 public:
  // Read only: a user may read the machine's policies but not change them.
  explicit RegistryLevel(HKEY root) { key_.OpenForReading(root, kPoliciesKey); }
  std::optional<std::wstring> Text(const wchar_t* valueName) const override {
    std::optional<std::wstring> text = key_.ReadString(valueName);
    if (text) text = Expanded(*text);
    return text;
  }
  std::optional<std::uint32_t> Number(const wchar_t* valueName) const override {
    return key_.ReadDword(valueName);
  }

 private:
  RegistryKey key_;
};

}  // namespace

Policies ReadPolicies() { return ResolvePolicies(RegistryLevel(HKEY_LOCAL_MACHINE), RegistryLevel(HKEY_CURRENT_USER)); }

}  // namespace ferlane
