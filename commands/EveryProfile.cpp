// Profiles named and reached one at a time, each hive released before the
// next is loaded.
#include "commands/EveryProfile.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

#include "settings/HiveRegistry.h"
#include "settings/Spelling.h"

namespace quillon {
namespace {

// LocalSystem, LocalService and NetworkService.
constexpr std::array<std::string_view, 3> kServiceAccounts{"S-1-5-18", "S-1-5-19", "S-1-5-20"};

std::string NameOf(const Profile& profile) {
  if (!profile.account.empty()) return profile.account + " (" + profile.sid + ")";
  return profile.folder.empty() ? profile.sid : profile.sid + " (" + profile.folder + ")";
}

std::string ErrorText(long code) { return "(error " + std::to_string(code) + ")"; }

void VisitOne(Registry& registry, Profiles& profiles, const Profile& profile, KeyAccess access,
              const std::function<void(const VisitedProfile&)>& visit) {
  VisitedProfile visited{profile, NameOf(profile),
                         std::string(SpellingOf(RootKey::Users).abbreviation) + "\\" + profile.sid,
                         nullptr, {}};
  KeyHandle key{};
  const long opened =
      registry.OpenKey(RootKey::Users, profile.sid, KeyAccess::Read, RegistryView::Default, key);
  if (opened == kErrorSuccess) {
    registry.CloseKey(key);
    HiveRegistry seen(registry, {registry, RootKey::Users, profile.sid});
    visited.registry = &seen;
    return visit(visited);
  }
  if (opened != kErrorFileNotFound) {
    visited.failure = visited.hiveName + " could not be read " + ErrorText(opened);
    return visit(visited);
  }
  // Not signed in: the hive is only in its file.
  if (profile.folder.empty()) {
    visited.failure = "ProfileList names no folder for it (ProfileImagePath)";
    return visit(visited);
  }
  visited.hiveName = HiveFileOf(profile);
  std::unique_ptr<HiveFile> file;
  if (const long loaded = profiles.LoadHiveFile(visited.hiveName, access, file);
      loaded != kErrorSuccess) {
    visited.failure = visited.hiveName + " could not be loaded " + ErrorText(loaded);
    return visit(visited);
  }
  HiveRegistry seen(registry, {file->Keys(), RootKey::CurrentUser, ""});
  visited.registry = &seen;
  visit(visited);
}

}  // namespace

ProfileWalk VisitProfiles(Registry& registry, Profiles& profiles, KeyAccess access,
                          const std::function<void(const VisitedProfile&)>& visit) {
  ProfileWalk walk;
  std::vector<Profile> listed;
  if (const long code = profiles.List(listed); code != kErrorSuccess) {
    walk.listFailure = "Cannot list the profiles: " +
                       KeyNameInView(RootKey::LocalMachine, kProfileListPath,
                                     RegistryView::Default, WindowsWidth::Bits32) +
                       " could not be read " + ErrorText(code) + ".";
    return walk;
  }
  for (const Profile& profile : listed) {
    if (std::ranges::find(kServiceAccounts, profile.sid) != kServiceAccounts.end()) {
      walk.serviceAccounts.push_back(profile.sid);
      continue;
    }
    ++walk.visited;
    VisitOne(registry, profiles, profile, access, visit);
  }
  return walk;
}

std::string KeyOfUser(const VisitedProfile& profile, RootKey root, const std::string& path,
                      RegistryView view, WindowsWidth width) {
  if (root == RootKey::CurrentUser) return profile.hiveName + "\\" + path;
  return KeyNameInView(root, path, view, width);
}

std::string KeyOfUser(const VisitedProfile& profile, FoundAt at, WindowsWidth width) {
  const CopyPlace& place = PlaceOf(at);
  return KeyOfUser(profile, place.location.root, place.location.path, place.view, width);
}

std::string UnreadKey(const VisitedProfile& profile, const ReadFailure& failure,
                      WindowsWidth width) {
  return KeyOfUser(profile, failure.root, failure.path, failure.view, width) +
         " could not be read " + ErrorText(failure.code);
}

std::optional<std::string> WalkNote(const ProfileWalk& walk) {
  if (walk.listFailure) return walk.listFailure;
  if (walk.serviceAccounts.empty()) return std::nullopt;
  std::string sids;
  for (const std::string& sid : walk.serviceAccounts) sids += (sids.empty() ? "" : ", ") + sid;
  return "Left out, as service accounts: " + sids + ".";
}

}  // namespace quillon
