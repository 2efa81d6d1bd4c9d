// Calls on the current user's keys go to the user's hive, the rest to the
// machine; each handle remembers where its key was opened.
#include "settings/HiveRegistry.h"

namespace quillon {

template <typename Open>
long HiveRegistry::Reach(RootKey root, const std::string& path, KeyHandle& key, Open open) {
  Opened opened{&machine_, {}};
  long code = kErrorSuccess;
  if (root == RootKey::CurrentUser) {
    opened.registry = &hive_.registry;
    const std::string inHive =
        hive_.path.empty() ? path : path.empty() ? hive_.path : hive_.path + "\\" + path;
    code = open(hive_.registry, hive_.root, inHive, opened.key);
  } else {
    code = open(machine_, root, path, opened.key);
  }
  if (code != kErrorSuccess) return code;
  opened_[++lastHandle_] = opened;
  key = static_cast<KeyHandle>(lastHandle_);
  return kErrorSuccess;
}

long HiveRegistry::CreateKey(RootKey root, const std::string& path, KeyAccess access,
                             RegistryView view, KeyHandle& key) {
  return Reach(root, path, key, [&](Registry& registry, RootKey at, const std::string& inside,
                                    KeyHandle& opened) {
    return registry.CreateKey(at, inside, access, view, opened);
  });
}

long HiveRegistry::OpenKey(RootKey root, const std::string& path, KeyAccess access,
                           RegistryView view, KeyHandle& key) {
  return Reach(root, path, key, [&](Registry& registry, RootKey at, const std::string& inside,
                                    KeyHandle& opened) {
    return registry.OpenKey(at, inside, access, view, opened);
  });
}

const HiveRegistry::Opened* HiveRegistry::Find(KeyHandle key) const {
  const auto found = opened_.find(static_cast<std::uintptr_t>(key));
  return found == opened_.end() ? nullptr : &found->second;
}

long HiveRegistry::QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type,
                              std::uint8_t* data, std::uint32_t& size) {
  const Opened* opened = Find(key);
  return opened ? opened->registry->QueryValue(opened->key, name, type, data, size)
                : kErrorInvalidHandle;
}

long HiveRegistry::SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                            std::span<const std::uint8_t> data) {
  const Opened* opened = Find(key);
  return opened ? opened->registry->SetValue(opened->key, name, type, data) : kErrorInvalidHandle;
}

long HiveRegistry::DeleteValue(KeyHandle key, const std::string& name) {
  const Opened* opened = Find(key);
  return opened ? opened->registry->DeleteValue(opened->key, name) : kErrorInvalidHandle;
}

long HiveRegistry::CloseKey(KeyHandle key) {
  const auto found = opened_.find(static_cast<std::uintptr_t>(key));
  if (found == opened_.end()) return kErrorInvalidHandle;
  const Opened opened = found->second;
  opened_.erase(found);
  return opened.registry->CloseKey(opened.key);
}

}  // namespace quillon
