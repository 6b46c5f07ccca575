#include "app/EventLogPolicy.h"

#include <windows.h>

#include <optional>

#include "platform/UniqueHandle.h"

namespace ferlane {
namespace {

std::optional<DWORD> PolicyDword(HKEY root) {
  // Read access only: a standard user may read the policies, never write
  // them, and a key opened for writing would be refused to him.
  UniqueHKey key;
  if (::RegOpenKeyExW(root, L"Software\\Policies\\Ferlane", 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0, value = 0, size = sizeof value;
  if (::RegQueryValueExW(key.get(), L"EventLog", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return std::nullopt;
  return value;
}

}  // namespace

bool EventLogPolicyEnabled() {
  std::optional<DWORD> value = PolicyDword(HKEY_LOCAL_MACHINE);
  if (!value) value = PolicyDword(HKEY_CURRENT_USER);
  return value.value_or(1) != 0;
}

}  // namespace ferlane
