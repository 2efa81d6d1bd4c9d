#pragma once
// The machine's user profiles, as far as the registry calls cannot reach
// them: the list Windows keeps of them, a user's hive file loaded for this
// process alone, and who this process runs as. Whether a profile's hive is
// loaded is what HKEY_USERS shows, through the registry itself.
#include <memory>
#include <string>
#include <vector>

#include "settings/Registry.h"

namespace quillon {

// Where Windows lists the profiles, one key per SID.
inline constexpr const char* kProfileListPath =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// The hive file in a profile's folder.
inline constexpr const char* kHiveFileName = "NTUSER.DAT";

struct Profile {
  std::string sid;      // "S-1-5-21-...-1001"
  std::string folder;   // its ProfileImagePath, with variables expanded
  std::string account;  // "DOMAIN\name"; empty where Windows cannot name the SID
};

// "C:\Users\ann\NTUSER.DAT"
inline std::string HiveFileOf(const Profile& profile) {
  return profile.folder + "\\" + kHiveFileName;
}

// A hive file loaded for this process alone, released when this goes. Its
// registry's HKEY_CURRENT_USER is the hive's root; nothing else is in it.
class HiveFile {
 public:
  virtual ~HiveFile() = default;
  virtual Registry& Keys() = 0;
};

class Profiles {
 public:
  virtual ~Profiles() = default;

  // Every profile ProfileList names, service accounts included; a Windows
  // error code when the list cannot be read.
  [[nodiscard]] virtual long List(std::vector<Profile>& profiles) = 0;
  // RegLoadAppKey: the hive file at `path`, read-only (KeyAccess::Read) or
  // for removing values (KeyAccess::Write); a Windows error code when it
  // cannot be loaded (missing, damaged, in use, access denied).
  [[nodiscard]] virtual long LoadHiveFile(const std::string& path, KeyAccess access,
                                          std::unique_ptr<HiveFile>& hive) = 0;
  // The SID of the account this process runs as.
  virtual std::string RunningAccountSid() = 0;
  // Whether this process may write every user's hive: a member of the
  // Administrators group, elevated where UAC splits the token.
  virtual bool RunsAsAdministrator() = 0;
};

}  // namespace quillon
