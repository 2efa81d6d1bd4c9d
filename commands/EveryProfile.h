#pragma once
// Each user profile of the machine visited in turn, with the registry as its
// user sees it: the hive below HKEY_USERS while the profile is loaded, else
// its hive file, loaded for this process alone and released after the visit.
// The service accounts' profiles are left out: nobody prints from them.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/Profiles.h"
#include "settings/RecordingRegistry.h"
#include "settings/Registry.h"
#include "settings/SettingLocations.h"

namespace quillon {

struct VisitedProfile {
  const Profile& profile;
  std::string name;      // "PC1\ann (S-1-5-21-...)", or "S-1-5-21-... (C:\Users\old)"
  std::string hiveName;  // "HKU\S-1-5-21-...", or "C:\Users\old\NTUSER.DAT"
  Registry* registry;    // the registry as the user sees it; none when unreachable
  std::string failure;   // why the hive could not be reached
};

struct ProfileWalk {
  std::optional<std::string> listFailure;   // the profiles could not be listed
  std::vector<std::string> serviceAccounts;  // the SIDs left out
  std::size_t visited = 0;
};

// `access` is what the hive file is loaded for: reading, or removing values.
ProfileWalk VisitProfiles(Registry& registry, Profiles& profiles, KeyAccess access,
                          const std::function<void(const VisitedProfile&)>& visit);

// A key of the user's hive, or of the machine, named for people:
// "HKU\S-1-5-21-...\Software\Marrowby\Quillon".
std::string KeyOfUser(const VisitedProfile& profile, RootKey root, const std::string& path,
                      RegistryView view, WindowsWidth width);
std::string KeyOfUser(const VisitedProfile& profile, FoundAt at, WindowsWidth width);
// "HKU\S-1-5-21-...\Software\Marrowby\Quillon could not be read (error 5)"
std::string UnreadKey(const VisitedProfile& profile, const ReadFailure& failure,
                      WindowsWidth width);

// The line that ends a walk whose profiles could not be listed, or says
// which service accounts were left out; none when there is nothing to say.
std::optional<std::string> WalkNote(const ProfileWalk& walk);

}  // namespace quillon
