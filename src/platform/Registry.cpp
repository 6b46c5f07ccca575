#include "platform/Registry.h"

#include <vector>

#include "platform/Platform.h"

namespace ferlane {

LONG RegistryKey::Open(HKEY root, const std::wstring& path, bool create, REGSAM view) {
  key_.reset();
  HKEY h = nullptr;
  LONG rc;
  if (create) {
    rc = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | view,
                           nullptr, &h, nullptr);
  } else {
    rc = ::RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &h);
  }
  if (rc == ERROR_SUCCESS) key_.reset(h);
  return rc;
}

LONG RegistryKey::OpenForReading(HKEY root, const std::wstring& path) {
  key_.reset();
  HKEY h = nullptr;
  const LONG rc = ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &h);
  if (rc == ERROR_SUCCESS) key_.reset(h);
  return rc;
}

std::optional<std::wstring> RegistryKey::ReadString(const std::wstring& name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0, bytes = 0;
  if (::RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::vector<wchar_t> buf(bytes / sizeof(wchar_t) + 2, L'\0');
  DWORD size = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
  if (::RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                         &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  // The stored data need not carry its terminator.
  std::size_t chars = size / sizeof(wchar_t);
  std::wstring s(buf.data(), chars);
  if (auto nul = s.find(L'\0'); nul != std::wstring::npos) s.resize(nul);
  return s;
}

std::wstring RegistryKey::ReadStringOrEmpty(const std::wstring& name) const {
  return ReadString(name).value_or(std::wstring());
}

std::optional<DWORD> RegistryKey::ReadDword(const std::wstring& name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0, value = 0, size = sizeof(value);
  if (::RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value))
    return std::nullopt;
  return value;
}

LONG RegistryKey::WriteString(const std::wstring& name, const std::wstring& value) {
  if (!key_) return ERROR_INVALID_HANDLE;
  return Platform().SetRegistryValue(key_.get(), name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LONG RegistryKey::WriteDword(const std::wstring& name, DWORD value) {
  if (!key_) return ERROR_INVALID_HANDLE;
  return Platform().SetRegistryValue(key_.get(), name, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                     sizeof(value));
}

LONG RegistryKey::DeleteValue(const std::wstring& name) {
  if (!key_) return ERROR_INVALID_HANDLE;
  return ::RegDeleteValueW(key_.get(), name.c_str());
}

bool RegistryKey::ValueExists(const std::wstring& name) const {
  if (!key_) return false;
  return ::RegQueryValueExW(key_.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace ferlane
