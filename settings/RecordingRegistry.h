#pragma once
// The registry as Apply would leave it, without changing it: reads go through
// to another registry, writes and removals are recorded instead of made, and
// later reads see what was recorded. Every key that can be read opens, whether
// it exists or not, so that each removal Apply would make on any machine is
// recorded, not only those of the values this machine happens to hold;
// nothing is ever created.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/Registry.h"

namespace quillon {

// A key that exists but could not be read: what it holds is unknown, not
// empty, and a file made without it would reset it wherever it is imported.
struct ReadFailure {
  RootKey root;
  std::string path;
  RegistryView view;
  long code;
};

// One value's last recorded state; no value means it is removed.
struct RecordedChange {
  RootKey root;
  std::string path;
  RegistryView view;
  std::string name;
  std::optional<RegistryValue> value;
};

class RecordingRegistry final : public Registry {
 public:
  explicit RecordingRegistry(Registry& underlying) : underlying_(underlying) {}
  ~RecordingRegistry() override;
  RecordingRegistry(const RecordingRegistry&) = delete;
  RecordingRegistry& operator=(const RecordingRegistry&) = delete;

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

  // Records the removal of a key with everything below it, as a registry
  // file's [-KEY] makes it: its values read as absent until written again.
  void RemoveKeyTree(RootKey root, const std::string& path, RegistryView view);

  // Each value written or removed, in the order first touched, as last left.
  const std::vector<RecordedChange>& Changes() const { return changes_; }
  // The first open or value query underneath that failed other than with "not
  // found" (or "more data", which is the caller's buffer, not the key).
  const std::optional<ReadFailure>& FirstReadFailure() const { return readFailure_; }

 private:
  struct Key {
    RootKey root;
    std::string path;
    RegistryView view;
    std::optional<KeyHandle> underlying;  // when the key exists there
  };

  Key* Find(KeyHandle key);
  RecordedChange* ChangeOf(const Key& key, const std::string& name);
  void Record(const Key& key, const std::string& name, std::optional<RegistryValue> value);
  bool ExistsUnderneath(const Key& key, const std::string& name);
  long QueryUnderneath(const Key& key, const std::string& name, std::uint32_t& type,
                       std::uint8_t* data, std::uint32_t& size);
  void NoteFailure(const Key& key, long code);

  static bool InTree(const Key& tree, const Key& key);
  bool InRemovedTree(const Key& key) const;

  Registry& underlying_;
  std::vector<Key> removedTrees_;  // none with an underlying handle
  std::map<std::uintptr_t, Key> keys_;
  std::uintptr_t lastHandle_ = 0;
  std::vector<RecordedChange> changes_;
  std::optional<ReadFailure> readFailure_;
};

}  // namespace quillon
