#pragma once
// A registry that passes every call on and notes, in order, each value the
// program reads, writes or deletes, with the path of its key. The processor
// architecture, read before many operations, is left out.
#include <map>
#include <string>
#include <vector>

#include "settings/Registry.h"
#include "settings/SettingLocations.h"

namespace quillon {

class RegistryCallLog final : public Registry {
 public:
  enum class Kind { Read, Write, Delete };
  struct Entry {
    Kind kind;
    std::string path;
    std::string name;
  };

  explicit RegistryCallLog(Registry& inner) : inner_(inner) {}

  long CreateKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
                 KeyHandle& key) override {
    const long result = inner_.CreateKey(root, path, access, view, key);
    return Opened(result, key, path);
  }
  long OpenKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
               KeyHandle& key) override {
    const long result = inner_.OpenKey(root, path, access, view, key);
    return Opened(result, key, path);
  }
  long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override {
    if (data == nullptr) Note(Kind::Read, key, name);
    return inner_.QueryValue(key, name, type, data, size);
  }
  long SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> data) override {
    Note(Kind::Write, key, name);
    return inner_.SetValue(key, name, type, data);
  }
  long DeleteValue(KeyHandle key, const std::string& name) override {
    Note(Kind::Delete, key, name);
    return inner_.DeleteValue(key, name);
  }
  long CloseKey(KeyHandle key) override {
    paths_.erase(key);
    return inner_.CloseKey(key);
  }

  std::vector<Entry> entries;

 private:
  long Opened(long result, KeyHandle key, const std::string& path) {
    if (result == kErrorSuccess) paths_[key] = path;
    return result;
  }
  void Note(Kind kind, KeyHandle key, const std::string& name) {
    if (name != kProcessorArchitectureValue) entries.push_back({kind, paths_[key], name});
  }

  Registry& inner_;
  std::map<KeyHandle, std::string> paths_;
};

}  // namespace quillon
