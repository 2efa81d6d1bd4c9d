#pragma once
// The machine's users for native tests: ProfileList's entries, the hives of
// those signed in below HKEY_USERS of the machine's registry, and the others'
// hive files, each an in-memory registry whose HKEY_CURRENT_USER is the
// hive's root. A hive file can be refused with an error, as a locked,
// missing or damaged one is; one loaded for reading refuses to be written.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "commands/Profiles.h"
#include "settings/substitute/SubstituteRegistry.h"

namespace quillon {

class SubstituteProfiles final : public Profiles {
 public:
  explicit SubstituteProfiles(SubstituteRegistry& machine) : machine_(machine) {}

  // A profile, signed in (its hive below HKEY_USERS) or not (its hive file
  // in its folder, empty until seeded).
  void Add(const Profile& profile, bool signedIn) {
    profiles_.push_back(profile);
    if (signedIn) {
      machine_.PutValue(RootKey::Users, profile.sid, RegistryView::Default, {}, kRegNone, {});
    } else {
      hiveFiles.try_emplace(HiveFileOf(profile));
    }
  }
  // A value in the user's hive, at a place of HKEY_CURRENT_USER.
  void PutUserValue(const std::string& sid, const std::string& path, const std::string& name,
                    std::uint32_t type, std::span<const std::uint8_t> data) {
    const auto profile = std::ranges::find(profiles_, sid, &Profile::sid);
    if (const auto file = hiveFiles.find(HiveFileOf(*profile)); file != hiveFiles.end()) {
      file->second.PutValue(RootKey::CurrentUser, path, RegistryView::Default, name, type, data);
    } else {
      machine_.PutValue(RootKey::Users, sid + "\\" + path, RegistryView::Default, name, type, data);
    }
  }
  static std::string HiveFileOf(const Profile& profile) {
    return profile.folder + "\\" + kHiveFileName;
  }

  long List(std::vector<Profile>& profiles) override {
    if (listError != kErrorSuccess) return listError;
    profiles = profiles_;
    return kErrorSuccess;
  }
  long LoadHiveFile(const std::string& path, KeyAccess access,
                    std::unique_ptr<HiveFile>& hive) override {
    if (const auto refused = refusedHiveFiles.find(path); refused != refusedHiveFiles.end()) {
      return refused->second;
    }
    const auto file = hiveFiles.find(path);
    if (file == hiveFiles.end()) return kErrorFileNotFound;
    hive = std::make_unique<Loaded>(file->second, access, loadedNow);
    return kErrorSuccess;
  }
  std::string RunningAccountSid() override { return runningSid; }
  bool RunsAsAdministrator() override { return administrator; }

  std::map<std::string, SubstituteRegistry> hiveFiles;  // by path
  std::map<std::string, long> refusedHiveFiles;         // by path: the error
  long listError = kErrorSuccess;
  std::string runningSid;
  bool administrator = true;
  int loadedNow = 0;  // hive files loaded and not yet released

 private:
  // Read-only, the hive refuses every open for writing, as RegLoadAppKey's
  // key opened with KEY_READ does.
  class Loaded final : public HiveFile, private Registry {
   public:
    Loaded(SubstituteRegistry& file, KeyAccess access, int& loadedNow)
        : file_(file), access_(access), loadedNow_(loadedNow) {
      ++loadedNow_;
    }
    ~Loaded() override { --loadedNow_; }
    Registry& Keys() override { return *this; }

   private:
    long CreateKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
                   KeyHandle& key) override {
      return Allowed(access) ? file_.CreateKey(root, path, access, view, key) : kErrorAccessDenied;
    }
    long OpenKey(RootKey root, const std::string& path, KeyAccess access, RegistryView view,
                 KeyHandle& key) override {
      return Allowed(access) ? file_.OpenKey(root, path, access, view, key) : kErrorAccessDenied;
    }
    long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                    std::uint32_t& size) override {
      return file_.QueryValue(key, name, type, data, size);
    }
    long SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                  std::span<const std::uint8_t> data) override {
      return file_.SetValue(key, name, type, data);
    }
    long DeleteValue(KeyHandle key, const std::string& name) override {
      return file_.DeleteValue(key, name);
    }
    long CloseKey(KeyHandle key) override { return file_.CloseKey(key); }
    bool Allowed(KeyAccess access) const {
      return access == KeyAccess::Read || access_ == KeyAccess::Write;
    }

    SubstituteRegistry& file_;
    KeyAccess access_;
    int& loadedNow_;
  };

  SubstituteRegistry& machine_;
  std::vector<Profile> profiles_;
};

}  // namespace quillon
