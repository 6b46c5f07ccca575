#include "password/StoredPasswordValue.h"

#include <optional>

#include "password/logic/PasswordHash.h"
#include "platform/Registry.h"
#include "platform/logic/SettingsKey.h"

namespace ferlane {

bool StoredPasswordValue::Damaged() const {
  return notText || ParseStoredPassword(text).kind == StoredPassword::Kind::Damaged;
}

StoredPasswordValue ReadStoredPasswordValue(const std::wstring& user) {
  StoredPasswordValue stored;
  RegistryKey key;
  stored.openError = key.Open(HKEY_CURRENT_USER, kSettingsKey);
  if (stored.openError != ERROR_SUCCESS) return stored;
  const std::optional<std::wstring> value = key.ReadString(user);
  stored.notText = !value && key.ValueExists(user);
  stored.text = value.value_or(std::wstring());
  return stored;
}

}  // namespace ferlane
