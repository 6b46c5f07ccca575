#pragma once
// Registry access with the program's conventions: keys opened with full access,
// never created unless asked, an absent string value reads as empty text.
#include <windows.h>
#include <optional>
#include <string>

#include "platform/UniqueHandle.h"

namespace ferlane {

class RegistryKey {
 public:
  RegistryKey() = default;
  // Opens root\path with KEY_ALL_ACCESS; create=true creates missing keys.
  // `view` (KEY_WOW64_64KEY or KEY_WOW64_32KEY) picks a registry view on
  // 64-bit Windows. Returns the system error code (ERROR_SUCCESS on success).
  LONG Open(HKEY root, const std::wstring& path, bool create = false, REGSAM view = 0);
  // Opens root\path to read only: a key a user may read but not change,
  // such as the policies under HKEY_LOCAL_MACHINE.
  LONG OpenForReading(HKEY root, const std::wstring& path);
  bool IsOpen() const { return static_cast<bool>(key_); }
  HKEY get() const { return key_.get(); }

  // A REG_SZ/REG_EXPAND_SZ value; nullopt when absent or of another type.
  std::optional<std::wstring> ReadString(const std::wstring& name) const;
  // Absent or wrong-typed values read as empty text.
  std::wstring ReadStringOrEmpty(const std::wstring& name) const;
  std::optional<DWORD> ReadDword(const std::wstring& name) const;
  LONG WriteString(const std::wstring& name, const std::wstring& value);
  LONG WriteDword(const std::wstring& name, DWORD value);
  LONG DeleteValue(const std::wstring& name);
  bool ValueExists(const std::wstring& name) const;

 private:
  UniqueHKey key_;
};

}  // namespace ferlane
