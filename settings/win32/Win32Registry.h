#pragma once
// The registry interface over advapi32's ANSI calls.
#include <optional>

#include "settings/Registry.h"

namespace quillon {

class Win32Registry final : public Registry {
 public:
  Win32Registry() = default;
  // A registry whose HKEY_CURRENT_USER is the open key `userHive` (a user's
  // hive file loaded for this process alone), which the caller keeps open.
  explicit Win32Registry(KeyHandle userHive) : userHive_(userHive) {}

  long CreateKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
                 KeyHandle& key) override;
  long OpenKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
               KeyHandle& key) override;
  long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override;
  long SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  long DeleteValue(KeyHandle key, const std::string& name) override;
  long CloseKey(KeyHandle key) override;

 private:
  std::optional<KeyHandle> userHive_;
};

}  // namespace quillon
