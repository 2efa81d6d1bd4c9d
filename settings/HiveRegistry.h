#pragma once
// The registry as another user of the machine sees it: HKEY_CURRENT_USER is
// that user's hive, wherever it is reached (below HKEY_USERS while the user's
// profile is loaded, or the root of the user's hive file loaded for this
// process alone); every other root is the machine's own. The window's load
// runs over it unchanged, so each user's settings are decided by the same
// code that decides the window's.
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "settings/Registry.h"

namespace quillon {

// Where a user's hive is: a key of `registry`, HKEY_CURRENT_USER there for a
// hive file's own registry, or HKEY_USERS\<SID> in the machine's.
struct UserHive {
  Registry& registry;
  RootKey root;
  std::string path;  // empty for the root itself
};

class HiveRegistry final : public Registry {
 public:
  HiveRegistry(Registry& machine, UserHive hive) : machine_(machine), hive_(std::move(hive)) {}

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
  struct Opened {
    Registry* registry;
    KeyHandle key;
  };
  // The handle of a key opened or created in whichever registry holds it;
  // handles of two registries may be equal, so each gets one of ours.
  template <typename Open>
  long Reach(RootKey root, const std::string& path, KeyHandle& key, Open open);
  const Opened* Find(KeyHandle key) const;

  Registry& machine_;
  UserHive hive_;
  std::map<std::uintptr_t, Opened> opened_;
  std::uintptr_t lastHandle_ = 0;
};

// A user who holds nothing of their own: every key of HKEY_CURRENT_USER is
// missing. Through it, a load shows what the machine's copies alone give.
class EmptyUserHive final : public Registry {
 public:
  long CreateKey(RootKey, const std::string&, KeyAccess, RegistryView, KeyHandle&) override {
    return kErrorAccessDenied;
  }
  long OpenKey(RootKey, const std::string&, KeyAccess, RegistryView, KeyHandle&) override {
    return kErrorFileNotFound;
  }
  long QueryValue(KeyHandle, const std::string&, std::uint32_t&, std::uint8_t*,
                  std::uint32_t&) override {
    return kErrorInvalidHandle;
  }
  long SetValue(KeyHandle, const std::string&, std::uint32_t,
                std::span<const std::uint8_t>) override {
    return kErrorInvalidHandle;
  }
  long DeleteValue(KeyHandle, const std::string&) override { return kErrorInvalidHandle; }
  long CloseKey(KeyHandle) override { return kErrorInvalidHandle; }
};

}  // namespace quillon
