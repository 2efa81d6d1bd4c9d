// The in-memory registry model.
#include "settings/substitute/SubstituteRegistry.h"

#include <algorithm>

#include "settings/SettingLocations.h"

namespace quillon {

struct SubstituteRegistry::Key {
  struct Value {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };
  std::string name;
  std::map<std::string, std::unique_ptr<Key>> subkeys;  // by folded name
  std::map<std::string, Value> values;                  // by folded name
};

namespace {

constexpr const char* kThirtyTwoBitNode = "Wow6432Node";

// Windows compares key and value names without regard to case.
std::string Fold(const std::string& name) {
  std::string folded = name;
  std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return folded;
}

// A trailing or doubled backslash names nothing and is skipped, as Windows does.
std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

bool IsBadPath(const std::string& path) { return !path.empty() && path.front() == '\\'; }

std::uint32_t ByteCount(const std::vector<std::uint8_t>& data) {
  return static_cast<std::uint32_t>(data.size());
}

// The ANSI call's reading of string data: it looks one byte past the count,
// and a NUL found there is stored as well.
std::vector<std::uint8_t> StoredBytes(std::uint32_t type, std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> bytes(data.begin(), data.end());
  if (IsStringType(type) && !data.empty() && data.back() != 0 && data.data()[data.size()] == 0) {
    bytes.push_back(0);
  }
  return bytes;
}

}  // namespace

SubstituteRegistry::SubstituteRegistry(Windows windows)
    : currentUser_(std::make_unique<Key>()), localMachine_(std::make_unique<Key>()) {
  const std::string architecture = windows == Windows::Bits64 ? "AMD64" : "x86";
  PutValue(kEnvironmentKey.root, kEnvironmentKey.path, RegistryView::Default,
           kProcessorArchitectureValue, kRegSz,
           std::span(reinterpret_cast<const std::uint8_t*>(architecture.c_str()),
                     architecture.size() + 1));
  FindOrCreate(RootKey::CurrentUser, {"Software"});
  FindOrCreate(RootKey::LocalMachine, PhysicalNames(RootKey::LocalMachine, "Software",
                                                    RegistryView::Default));
}

SubstituteRegistry::~SubstituteRegistry() = default;

long SubstituteRegistry::CreateKey(RootKey root, const std::string& path, KeyAccess access,
                                   RegistryView view, KeyHandle& key) {
  if (const auto failure = RecordCall(RegistryCall::CreateKey)) return *failure;
  if (IsBadPath(path)) return kErrorBadPathname;
  const std::vector<std::string> names = PhysicalNames(root, path, view);
  Key* found = Find(root, names);
  if (found == nullptr || access == KeyAccess::Write) {
    if (!MayWrite(root)) return kErrorAccessDenied;
  }
  key = Open(found != nullptr ? found : FindOrCreate(root, names), access);
  return kErrorSuccess;
}

long SubstituteRegistry::OpenKey(RootKey root, const std::string& path, KeyAccess access,
                                 RegistryView view, KeyHandle& key) {
  if (const auto failure = RecordCall(RegistryCall::OpenKey)) return *failure;
  if (IsBadPath(path)) return kErrorBadPathname;
  Key* found = Find(root, PhysicalNames(root, path, view));
  if (found == nullptr) return kErrorFileNotFound;
  if (access == KeyAccess::Write && !MayWrite(root)) return kErrorAccessDenied;
  key = Open(found, access);
  return kErrorSuccess;
}

long SubstituteRegistry::QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type,
                                    std::uint8_t* data, std::uint32_t& size) {
  if (const auto failure = RecordCall(RegistryCall::QueryValue)) return *failure;
  const OpenedKey* opened = Opened(key);
  if (opened == nullptr) return kErrorInvalidHandle;
  if (opened->access != KeyAccess::Read) return kErrorAccessDenied;
  const auto found = opened->key->values.find(Fold(name));
  if (found == opened->key->values.end()) return kErrorFileNotFound;
  const Key::Value& value = found->second;
  const std::uint32_t stored = ByteCount(value.data);
  type = value.type;
  if (data == nullptr) {
    size = stored;
    return kErrorSuccess;
  }
  if (size < stored) {
    size = stored;
    return kErrorMoreData;
  }
  std::copy(value.data.begin(), value.data.end(), data);
  if (IsStringType(value.type) && stored > 0 && size > stored && value.data.back() != 0) {
    data[stored] = 0;
  }
  size = stored;
  return kErrorSuccess;
}

long SubstituteRegistry::SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                                  std::span<const std::uint8_t> data) {
  if (const auto failure = RecordCall(RegistryCall::SetValue)) return *failure;
  const OpenedKey* opened = Opened(key);
  if (opened == nullptr) return kErrorInvalidHandle;
  if (opened->access != KeyAccess::Write) return kErrorAccessDenied;
  auto& values = opened->key->values;
  const auto [slot, added] = values.try_emplace(Fold(name), Key::Value{name, type, {}});
  slot->second.type = type;
  slot->second.data = StoredBytes(type, data);
  return kErrorSuccess;
}

long SubstituteRegistry::DeleteValue(KeyHandle key, const std::string& name) {
  if (const auto failure = RecordCall(RegistryCall::DeleteValue)) return *failure;
  const OpenedKey* opened = Opened(key);
  if (opened == nullptr) return kErrorInvalidHandle;
  if (opened->access != KeyAccess::Write) return kErrorAccessDenied;
  return opened->key->values.erase(Fold(name)) == 1 ? kErrorSuccess : kErrorFileNotFound;
}

long SubstituteRegistry::CloseKey(KeyHandle key) {
  if (const auto failure = RecordCall(RegistryCall::CloseKey)) return *failure;
  return handles_.erase(static_cast<std::uintptr_t>(key)) == 1 ? kErrorSuccess
                                                               : kErrorInvalidHandle;
}

void SubstituteRegistry::FailCall(RegistryCall call, int nth, long code) {
  pendingFailures_.push_back({call, CallCount(call) + nth, code});
}

int SubstituteRegistry::CallCount(RegistryCall call) const {
  const auto found = callCounts_.find(call);
  return found == callCounts_.end() ? 0 : found->second;
}

void SubstituteRegistry::PutValue(RootKey root, const std::string& path, RegistryView view,
                                  const std::string& name, std::uint32_t type,
                                  std::span<const std::uint8_t> data) {
  Key* key = FindOrCreate(root, PhysicalNames(root, path, view));
  key->values[Fold(name)] = {name, type, {data.begin(), data.end()}};
}

std::optional<StoredValue> SubstituteRegistry::FindValue(RootKey root, const std::string& path,
                                                         RegistryView view,
                                                         const std::string& name) const {
  const std::vector<std::string> names = PhysicalNames(root, path, view);
  const Key* key = Find(root, names);
  if (key == nullptr) return std::nullopt;
  const auto found = key->values.find(Fold(name));
  if (found == key->values.end()) return std::nullopt;
  std::string physicalPath;
  for (const std::string& part : names) physicalPath += (physicalPath.empty() ? "" : "\\") + part;
  return StoredValue{root, physicalPath, found->second.name, found->second.type,
                     found->second.data};
}

bool SubstituteRegistry::KeyExists(RootKey root, const std::string& path, RegistryView view) const {
  return Find(root, PhysicalNames(root, path, view)) != nullptr;
}

std::vector<StoredValue> SubstituteRegistry::ListValues() const {
  std::vector<StoredValue> listed;
  const auto walk = [&listed](const auto& self, RootKey root, const Key& key,
                              const std::string& path) -> void {
    for (const auto& [folded, value] : key.values) {
      listed.push_back({root, path, value.name, value.type, value.data});
    }
    for (const auto& [folded, subkey] : key.subkeys) {
      self(self, root, *subkey, path.empty() ? subkey->name : path + "\\" + subkey->name);
    }
  };
  walk(walk, RootKey::CurrentUser, *currentUser_, "");
  walk(walk, RootKey::LocalMachine, *localMachine_, "");
  return listed;
}

bool SubstituteRegistry::HasTwoViews() const {
  const Key* environment = Find(kEnvironmentKey.root, SplitPath(kEnvironmentKey.path));
  if (environment == nullptr) return false;
  const auto found = environment->values.find(Fold(kProcessorArchitectureValue));
  if (found == environment->values.end() || !IsStringType(found->second.type)) return false;
  const std::vector<std::uint8_t>& data = found->second.data;
  const std::string text(data.begin(), std::find(data.begin(), data.end(), 0));
  return text == "AMD64";
}

// On 64-bit Windows the default view of HKEY_LOCAL_MACHINE\Software is the
// 32-bit view, kept in Software\Wow6432Node.
std::vector<std::string> SubstituteRegistry::PhysicalNames(RootKey root, const std::string& path,
                                                           RegistryView view) const {
  std::vector<std::string> names = SplitPath(path);
  if (view == RegistryView::Default && KeyHasTwoViews(root, path) && HasTwoViews()) {
    names.insert(names.begin() + 1, kThirtyTwoBitNode);
  }
  return names;
}

SubstituteRegistry::Key* SubstituteRegistry::Find(RootKey root,
                                                  const std::vector<std::string>& names) const {
  Key* key = root == RootKey::CurrentUser ? currentUser_.get() : localMachine_.get();
  for (const std::string& name : names) {
    const auto found = key->subkeys.find(Fold(name));
    if (found == key->subkeys.end()) return nullptr;
    key = found->second.get();
  }
  return key;
}

SubstituteRegistry::Key* SubstituteRegistry::FindOrCreate(RootKey root,
                                                          const std::vector<std::string>& names) {
  Key* key = root == RootKey::CurrentUser ? currentUser_.get() : localMachine_.get();
  for (const std::string& name : names) {
    std::unique_ptr<Key>& subkey = key->subkeys[Fold(name)];
    if (subkey == nullptr) {
      subkey = std::make_unique<Key>();
      subkey->name = name;
    }
    key = subkey.get();
  }
  return key;
}

bool SubstituteRegistry::MayWrite(RootKey root) const {
  return !standardUser_ || root != RootKey::LocalMachine;
}

KeyHandle SubstituteRegistry::Open(Key* key, KeyAccess access) {
  const std::uintptr_t handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, OpenedKey{key, access});
  return static_cast<KeyHandle>(handle);
}

const SubstituteRegistry::OpenedKey* SubstituteRegistry::Opened(KeyHandle key) const {
  const auto found = handles_.find(static_cast<std::uintptr_t>(key));
  return found == handles_.end() ? nullptr : &found->second;
}

// Counts the call; a failure pending for it is taken and its code returned.
std::optional<long> SubstituteRegistry::RecordCall(RegistryCall call) {
  const int callNumber = ++callCounts_[call];
  const auto pending = std::find_if(
      pendingFailures_.begin(), pendingFailures_.end(), [&](const PendingFailure& failure) {
        return failure.call == call && failure.callNumber == callNumber;
      });
  if (pending == pendingFailures_.end()) return std::nullopt;
  const long code = pending->code;
  pendingFailures_.erase(pending);
  return code;
}

}  // namespace quillon
