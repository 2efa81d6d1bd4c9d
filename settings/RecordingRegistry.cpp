// Reads through, records writes and removals.
#include "settings/RecordingRegistry.h"

#include <algorithm>
#include <cstring>

namespace quillon {
// The key itself, or one below it.
bool RecordingRegistry::InTree(const Key& tree, const Key& key) {
  return key.root == tree.root && key.view == tree.view && InKeyTree(tree.path, key.path);
}

RecordingRegistry::~RecordingRegistry() {
  for (const auto& [handle, key] : keys_) {
    if (key.underlying) underlying_.CloseKey(*key.underlying);
  }
}

long RecordingRegistry::CreateKey(RootKey root, const std::string& path, KeyAccess access,
                                  RegistryView view, KeyHandle& key) {
  return OpenKey(root, path, access, view, key);
}

// Only ever reads underneath, so that neither a missing key nor a standard
// user's lack of write access changes what is recorded. A key that exists but
// cannot be read fails a read as it does underneath: its values are unknown,
// not absent. Opened to write, it takes the writes all the same, so that what
// would be written there is known too; the failure is noted either way.
long RecordingRegistry::OpenKey(RootKey root, const std::string& path, KeyAccess access,
                                RegistryView view, KeyHandle& key) {
  Key opened{root, path, EffectiveView(root, path, view), std::nullopt};
  KeyHandle underlying{};
  const long code = underlying_.OpenKey(root, path, KeyAccess::Read, view, underlying);
  if (code == kErrorSuccess) {
    opened.underlying = underlying;
  } else if (code != kErrorFileNotFound) {
    NoteFailure(opened, code);
    if (access != KeyAccess::Write) return code;
  }
  keys_.emplace(++lastHandle_, std::move(opened));
  key = KeyHandle{lastHandle_};
  return kErrorSuccess;
}

long RecordingRegistry::QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type,
                                   std::uint8_t* data, std::uint32_t& size) {
  Key* open = Find(key);
  if (!open) return kErrorInvalidHandle;
  const RecordedChange* change = ChangeOf(*open, name);
  if (!change) {
    if (!open->underlying || InRemovedTree(*open)) return kErrorFileNotFound;
    return QueryUnderneath(*open, name, type, data, size);
  }
  if (!change->value) return kErrorFileNotFound;
  const std::vector<std::uint8_t>& stored = change->value->data;
  const auto needed = static_cast<std::uint32_t>(stored.size());
  type = change->value->type;
  if (data && size < needed) {
    size = needed;
    return kErrorMoreData;
  }
  if (data) std::memcpy(data, stored.data(), stored.size());
  size = needed;
  return kErrorSuccess;
}

long RecordingRegistry::SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                                 std::span<const std::uint8_t> data) {
  Key* open = Find(key);
  if (!open) return kErrorInvalidHandle;
  RegistryValue value{type, {data.begin(), data.end()}};
  // What the ANSI call stores: a text handed over without its NUL gets the one
  // that follows it in memory.
  if (IsStringType(type) && (value.data.empty() || value.data.back() != 0)) {
    value.data.push_back(0);
  }
  Record(*open, name, std::move(value));
  return kErrorSuccess;
}

long RecordingRegistry::DeleteValue(KeyHandle key, const std::string& name) {
  Key* open = Find(key);
  if (!open) return kErrorInvalidHandle;
  const RecordedChange* change = ChangeOf(*open, name);
  const bool existed = change ? change->value.has_value()
                              : !InRemovedTree(*open) && ExistsUnderneath(*open, name);
  Record(*open, name, std::nullopt);
  return existed ? kErrorSuccess : kErrorFileNotFound;
}

long RecordingRegistry::CloseKey(KeyHandle key) {
  const auto found = keys_.find(static_cast<std::uintptr_t>(key));
  if (found == keys_.end()) return kErrorInvalidHandle;
  if (found->second.underlying) underlying_.CloseKey(*found->second.underlying);
  keys_.erase(found);
  return kErrorSuccess;
}

void RecordingRegistry::RemoveKeyTree(RootKey root, const std::string& path, RegistryView view) {
  Key tree{root, path, EffectiveView(root, path, view), std::nullopt};
  for (RecordedChange& change : changes_) {
    if (InTree(tree, {change.root, change.path, change.view, std::nullopt})) change.value.reset();
  }
  removedTrees_.push_back(std::move(tree));
}

bool RecordingRegistry::InRemovedTree(const Key& key) const {
  return std::ranges::any_of(removedTrees_, [&](const Key& tree) { return InTree(tree, key); });
}

RecordingRegistry::Key* RecordingRegistry::Find(KeyHandle key) {
  const auto found = keys_.find(static_cast<std::uintptr_t>(key));
  return found == keys_.end() ? nullptr : &found->second;
}

RecordedChange* RecordingRegistry::ChangeOf(const Key& key, const std::string& name) {
  const auto found = std::ranges::find_if(changes_, [&](const RecordedChange& change) {
    return change.root == key.root && change.view == key.view && SameName(change.path, key.path) &&
           SameName(change.name, name);
  });
  return found == changes_.end() ? nullptr : &*found;
}

void RecordingRegistry::Record(const Key& key, const std::string& name,
                               std::optional<RegistryValue> value) {
  if (RecordedChange* change = ChangeOf(key, name)) {
    change->value = std::move(value);
    return;
  }
  changes_.push_back({key.root, key.path, key.view, name, std::move(value)});
}

bool RecordingRegistry::ExistsUnderneath(const Key& key, const std::string& name) {
  std::uint32_t type = kRegNone;
  std::uint32_t size = 0;
  return key.underlying && QueryUnderneath(key, name, type, nullptr, size) == kErrorSuccess;
}

long RecordingRegistry::QueryUnderneath(const Key& key, const std::string& name,
                                        std::uint32_t& type, std::uint8_t* data,
                                        std::uint32_t& size) {
  const long code = underlying_.QueryValue(*key.underlying, name, type, data, size);
  if (code != kErrorSuccess && code != kErrorFileNotFound && code != kErrorMoreData) {
    NoteFailure(key, code);
  }
  return code;
}

void RecordingRegistry::NoteFailure(const Key& key, long code) {
  if (!readFailure_) readFailure_ = ReadFailure{key.root, key.path, key.view, code};
}

}  // namespace quillon
