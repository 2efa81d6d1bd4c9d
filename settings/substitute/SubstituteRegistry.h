#pragma once
// An in-memory Windows registry for native tests, held to the real one by the
// registry contract suite: keys and values whose names ignore case, values as
// a type plus raw bytes, HKEY_LOCAL_MACHINE\Software split into two views on
// 64-bit Windows (the 32-bit view under Software\Wow6432Node), handles that
// carry their access, and the ANSI calls' quirks around a string's NUL. Any
// single call can be made to fail, and any key denied to every open. Keys go
// by their lower-case physical names. Buffers are taken to be large enough,
// as the program's always are.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "settings/SettingLocations.h"
#include "settings/Spelling.h"

namespace quillon {

enum class RegistryCall { CreateKey, OpenKey, QueryValue, SetValue, DeleteValue, CloseKey };

struct StoredValue {
  std::string key;  // as PhysicalKey gives it
  std::string name;
  std::uint32_t type;
  std::vector<std::uint8_t> data;
  bool operator==(const StoredValue&) const = default;
};

class SubstituteRegistry final : public Registry {
 public:
  // What the system environment names the processor: 32-bit Windows "x86",
  // whose Software key has one view; 64-bit Windows "AMD64" or "ARM64", with
  // two views either way.
  enum class Windows { Bits32, Bits64, Arm64 };

  explicit SubstituteRegistry(Windows windows = Windows::Bits64)
      : twoViews_(windows != Windows::Bits32) {
    constexpr const char* kArchitectures[] = {"x86", "AMD64", "ARM64"};
    PutValue(kEnvironmentKey.root, kEnvironmentKey.path, RegistryView::Default,
             kProcessorArchitectureValue, kRegSz,
             TextBytes(std::string(kArchitectures[static_cast<int>(windows)]) + '\0'));
  }

  long CreateKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
                 KeyHandle& key) override {
    return Reach(RegistryCall::CreateKey, root, path, access, view, key);
  }
  long OpenKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
               KeyHandle& key) override {
    return Reach(RegistryCall::OpenKey, root, path, access, view, key);
  }
  // A string stored without its NUL gets one when there is room, uncounted.
  long QueryValue(KeyHandle handle, const std::string& name, std::uint32_t& type,
                  std::uint8_t* data, std::uint32_t& size) override {
    const auto [code, value] = Use(RegistryCall::QueryValue, handle, KeyAccess::Read, name);
    if (code != kErrorSuccess) return code;
    const std::vector<std::uint8_t>& bytes = value->second.data;
    const auto stored = static_cast<std::uint32_t>(bytes.size());
    type = value->second.type;
    if (data != nullptr) std::ranges::copy(bytes, data);
    if (data && IsStringType(type) && size > stored && stored > 0 && bytes.back() != 0) {
      data[stored] = 0;
    }
    size = stored;
    return kErrorSuccess;
  }
  // The ANSI call looks one byte past a string's count and stores a NUL found there.
  long SetValue(KeyHandle handle, const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> data) override {
    const auto [code, value] = Use(RegistryCall::SetValue, handle, KeyAccess::Write, name);
    if (code != kErrorSuccess && code != kErrorFileNotFound) return code;
    std::vector<std::uint8_t> bytes(data.begin(), data.end());
    if (IsStringType(type) && !data.empty() && data.back() != 0 && data.data()[data.size()] == 0) {
      bytes.push_back(0);
    }
    values[{opened_, Lower(name)}] = {opened_, name, type, bytes};
    return kErrorSuccess;
  }
  long DeleteValue(KeyHandle handle, const std::string& name) override {
    const auto [code, value] = Use(RegistryCall::DeleteValue, handle, KeyAccess::Write, name);
    if (code == kErrorSuccess) values.erase(value);
    return code;
  }
  long CloseKey(KeyHandle handle) override {
    if (const long failure = Count(RegistryCall::CloseKey)) return failure;
    handles_.erase(static_cast<std::uintptr_t>(handle));
    return kErrorSuccess;
  }

  // The nth call of that kind from now on (1: the next one) returns code and does nothing else.
  void FailCall(RegistryCall call, int nth, long code) {
    failures_[{call, CallCount(call) + nth}] = code;
  }
  int CallCount(RegistryCall call) const { return calls_.contains(call) ? calls_.at(call) : 0; }
  std::size_t OpenHandleCount() const { return handles_.size(); }
  // What a command that only reads leaves: the values as they were, no call
  // that writes made, no key left open.
  bool OnlyReadSince(const std::map<std::pair<std::string, std::string>, StoredValue>& before) const {
    return values == before && CallCount(RegistryCall::CreateKey) + CallCount(RegistryCall::SetValue) +
                                       CallCount(RegistryCall::DeleteValue) ==
                                   0 &&
           handles_.empty();
  }

  // Seeding and inspection: not registry calls, so neither counted nor failed.
  // The 32-bit view of HKEY_LOCAL_MACHINE\Software lives in Software\Wow6432Node.
  std::string PhysicalKey(RootKey root, const std::string& path, RegistryView view) const {
    std::string key = Lower(std::string(SpellingOf(root).abbreviation) + "\\" + path);
    if (twoViews_ && view == RegistryView::Default && KeyHasTwoViews(root, path)) {
      key.insert(std::min(key.find('\\', 5), key.size()), "\\wow6432node");
    }
    return key;
  }
  // An empty name makes the key, with all its parents, and no value.
  void PutValue(RootKey root, const std::string& path, RegistryView view, const std::string& name,
                std::uint32_t type, std::span<const std::uint8_t> data) {
    const std::string key = PhysicalKey(root, path, view);
    for (auto end = key.find('\\'); end != std::string::npos; end = key.find('\\', end + 1)) {
      keys_.insert(key.substr(0, end));
    }
    keys_.insert(key);
    if (!name.empty()) values[{key, Lower(name)}] = {key, name, type, {data.begin(), data.end()}};
  }
  std::map<std::pair<std::string, std::string>, StoredValue> values;  // by key and lower-case name
  std::set<std::string> deniedKeys;  // as PhysicalKey gives them: opened, access denied

 private:
  // Windows compares key and value names without regard to case.
  static std::string Lower(std::string name) {
    for (char& c : name) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return name;
  }
  // Counts the call; the code of a failure made for it, else 0.
  long Count(RegistryCall call) {
    const auto failure = failures_.find({call, ++calls_[call]});
    return failure == failures_.end() ? kErrorSuccess : failure->second;
  }
  long Reach(RegistryCall call, RootKey root, const std::string& path, KeyAccess access,
             RegistryView view, KeyHandle& key) {
    if (const long failure = Count(call)) return failure;
    if (deniedKeys.contains(PhysicalKey(root, path, view))) return kErrorAccessDenied;
    const bool exists = keys_.contains(PhysicalKey(root, path, view));
    if (!exists && call == RegistryCall::OpenKey) return kErrorFileNotFound;
    PutValue(root, path, view, {}, kRegNone, {});
    handles_[++lastHandle_] = {PhysicalKey(root, path, view), access};
    key = static_cast<KeyHandle>(lastHandle_);
    return kErrorSuccess;
  }
  // Counts the call; then the named value in the key the handle opened with that access.
  std::pair<long, decltype(values)::iterator> Use(RegistryCall call, KeyHandle handle,
                                                  KeyAccess access, const std::string& name) {
    const auto opened = handles_.find(static_cast<std::uintptr_t>(handle));
    if (const long failure = Count(call)) return {failure, values.end()};
    if (opened == handles_.end()) return {kErrorInvalidHandle, values.end()};
    if (opened->second.second != access) return {kErrorAccessDenied, values.end()};
    opened_ = opened->second.first;
    const auto value = values.find({opened_, Lower(name)});
    return {value == values.end() ? kErrorFileNotFound : kErrorSuccess, value};
  }

  bool twoViews_;
  std::set<std::string> keys_;
  std::map<std::uintptr_t, std::pair<std::string, KeyAccess>> handles_;
  std::uintptr_t lastHandle_ = 0x1000;
  std::string opened_;  // the key of the handle last used
  std::map<RegistryCall, int> calls_;
  std::map<std::pair<RegistryCall, int>, long> failures_;
};

}  // namespace quillon
