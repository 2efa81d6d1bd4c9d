#pragma once
// The registry interface over advapi32's ANSI calls.
#include "settings/Registry.h"

namespace quillon {

class Win32Registry final : public Registry {
 public:
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
};

}  // namespace quillon
