#pragma once
// The machine's users for native tests: ProfileList's entries, the hives of
// those signed in below HKEY_USERS of the machine's registry, and the others'
// hive files, each an in-memory registry whose HKEY_CURRENT_USER is the
// hive's root. A hive file can be refused with an error, as a locked,
// missing or damaged one is.
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

  long List(std::vector<Profile>& profiles) override {
    if (listError != kErrorSuccess) return listError;
    profiles = profiles_;
    return kErrorSuccess;
  }
  long LoadHiveFile(const std::string& path, KeyAccess,
                    std::unique_ptr<HiveFile>& hive) override {
    if (const auto refused = refusedHiveFiles.find(path); refused != refusedHiveFiles.end()) {
      return refused->second;
    }
    const auto file = hiveFiles.find(path);
    if (file == hiveFiles.end()) return kErrorFileNotFound;
    hive = std::make_unique<Loaded>(file->second, loadedNow);
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
  // Counts itself out when released.
  class Loaded final : public HiveFile {
   public:
    Loaded(SubstituteRegistry& file, int& loadedNow) : file_(file), loadedNow_(loadedNow) {
      ++loadedNow_;
    }
    ~Loaded() override { --loadedNow_; }
    Registry& Keys() override { return file_; }

   private:
    SubstituteRegistry& file_;
    int& loadedNow_;
  };

  SubstituteRegistry& machine_;
  std::vector<Profile> profiles_;
};

}  // namespace quillon
