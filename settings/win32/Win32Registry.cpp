// advapi32 behind the registry interface: the calls pass straight through.
#include "settings/win32/Win32Registry.h"

#include <windows.h>

namespace quillon {
namespace {

HKEY ToHkey(KeyHandle key) { return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key)); }

KeyHandle FromHkey(HKEY key) { return static_cast<KeyHandle>(reinterpret_cast<std::uintptr_t>(key)); }

// The predefined keys are sign-extended handle values on 64-bit Windows; the
// macros get that right.
HKEY RootHandle(RootKey root, const std::optional<KeyHandle>& userHive) {
  switch (root) {
    case RootKey::CurrentUser:
      return userHive ? ToHkey(*userHive) : HKEY_CURRENT_USER;
    case RootKey::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RootKey::Users:
      return HKEY_USERS;
  }
  return HKEY_LOCAL_MACHINE;
}

}  // namespace

long Win32Registry::CreateKey(RootKey root, const std::string& path, KeyAccess access,
                              RegistryView view, KeyHandle& key) {
  HKEY opened = nullptr;
  const LSTATUS status =
      RegCreateKeyExA(RootHandle(root, userHive_), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      AccessMask(access, view, root, path), nullptr, &opened, nullptr);
  if (status == ERROR_SUCCESS) key = FromHkey(opened);
  return status;
}

long Win32Registry::OpenKey(RootKey root, const std::string& path, KeyAccess access,
                            RegistryView view, KeyHandle& key) {
  HKEY opened = nullptr;
  const LSTATUS status =
      RegOpenKeyExA(RootHandle(root, userHive_), path.c_str(), 0, AccessMask(access, view, root, path), &opened);
  if (status == ERROR_SUCCESS) key = FromHkey(opened);
  return status;
}

long Win32Registry::QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type,
                               std::uint8_t* data, std::uint32_t& size) {
  DWORD queriedType = type;
  DWORD queriedSize = size;
  const LSTATUS status =
      RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &queriedType, data, &queriedSize);
  type = queriedType;
  size = queriedSize;
  return status;
}

long Win32Registry::SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                             std::span<const std::uint8_t> data) {
  return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data.data(),
                        static_cast<DWORD>(data.size()));
}

long Win32Registry::DeleteValue(KeyHandle key, const std::string& name) {
  return RegDeleteValueA(ToHkey(key), name.c_str());
}

long Win32Registry::CloseKey(KeyHandle key) { return RegCloseKey(ToHkey(key)); }

}  // namespace quillon
