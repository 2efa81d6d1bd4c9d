// Each profile's load, read from the record it keeps: a setting is the
// user's own where the copy the load took lies in the user's hive, or where
// the user's own environment holds a variable that programs read instead.
#include "commands/UserCopies.h"

#include <set>

#include "commands/EveryProfile.h"
#include "commands/HeadlessPorts.h"
#include "commands/SettingsDisplay.h"
#include "model/SettingsCatalogue.h"
#include "settings/HiveRegistry.h"

namespace quillon {
namespace {

bool InUsersHive(FoundAt at) {
  return at != FoundAt::Nowhere && PlaceOf(at).location.root == RootKey::CurrentUser;
}

// A copy in the user's hive that gives the user the setting: the one the
// load took, or the user's own variable, which programs read instead of the
// system's however the load read that.
struct OwnCopy {
  const Setting* row;
  FoundAt at;
  std::string shown;  // what the user gets
};

// In the order of the window's pages.
std::vector<OwnCopy> OwnCopies(const HeadlessLoad& load) {
  std::vector<OwnCopy> copies;
  const LoadRecord& record = load.Record();
  for (const Setting* row : InPageOrder()) {
    const ValueRecord* found = record.Of(*row);
    if (!found) continue;
    const ValueRecord& value = *found;
    if (InUsersHive(value.taken)) {
      copies.push_back({value.row, value.taken,
                        ShownFor(load.controls, *value.row, record.passwordsNotShown)});
      continue;
    }
    if (const std::optional<std::string> variable = OwnVariable(value)) {
      copies.push_back({value.row, FoundAt::UserEnvironmentKey, Quoted(*variable)});
    }
  }
  return copies;
}

// The window's load over `registry`, judging every copy; its recorder tells
// whether a key the load needed could not be read.
struct Loaded {
  RecordingRegistry recorder;
  NoPrinters printers;
  HeadlessLoad load;
  Loaded(Registry& registry, HelperLibrary& helperLibrary, const NumberSeparators& separators)
      : recorder(registry),
        load(recorder, printers, helperLibrary, separators, LookDepth::EveryCopy) {}
};

}  // namespace

std::optional<std::string> OwnVariable(const ValueRecord& value) {
  const auto look = std::ranges::find(value.looks, FoundAt::UserEnvironmentKey, &Look::at);
  if (look == value.looks.end() || !IsTextValue(look->stored.type)) return std::nullopt;
  const std::vector<std::uint8_t>& bytes = look->stored.data;
  std::string text(bytes.begin(), std::ranges::find(bytes, 0));
  if (text.empty()) return std::nullopt;
  return text;
}

UsersOutcome ListUserCopies(Registry& registry, Profiles& profiles, HelperLibrary& helperLibrary,
                            const NumberSeparators& numberSeparators, WindowsWidth width) {
  UsersOutcome outcome;
  EmptyUserHive nothingOwn;
  HiveRegistry allUsersSee(registry, {nothingOwn, RootKey::CurrentUser, ""});
  const Loaded allUsers(allUsersSee, helperLibrary, numberSeparators);
  if (const auto& failure = allUsers.recorder.FirstReadFailure()) {
    outcome.lines.push_back(CannotCheck(*failure, width));
    return outcome;
  }

  std::size_t holding = 0, unreadable = 0;
  std::set<const Setting*> settings;
  const ProfileWalk walk =
      VisitProfiles(registry, profiles, KeyAccess::Read, [&](const VisitedProfile& profile) {
        if (!profile.registry) {
          outcome.lines.push_back(profile.name + ": cannot check: " + profile.failure + ".");
          ++unreadable;
          return;
        }
        const Loaded user(*profile.registry, helperLibrary, numberSeparators);
        if (const auto& failure = user.recorder.FirstReadFailure()) {
          outcome.lines.push_back(profile.name + ": cannot check: " +
                                  UnreadKey(profile, *failure, width) + ".");
          ++unreadable;
          return;
        }
        const std::vector<OwnCopy> copies = OwnCopies(user.load);
        if (copies.empty()) {
          outcome.lines.push_back(profile.name + ": no copies of its own");
          return;
        }
        ++holding;
        outcome.lines.push_back(profile.name + ": " + Count(copies.size(), "setting") +
                                " of its own");
        for (const OwnCopy& copy : copies) {
          settings.insert(copy.row);
          const std::string allGet = ShownFor(allUsers.load.controls, *copy.row,
                                              allUsers.load.Record().passwordsNotShown);
          outcome.lines.push_back("  " + Heading(*copy.row) + ": " + copy.shown +
                                  ", where all users get " + allGet + "; from " +
                                  KeyOfUser(profile, copy.at, width) + " (" +
                                  Quoted(copy.row->name) + ")");
        }
      });
  if (const std::optional<std::string> note = WalkNote(walk)) outcome.lines.push_back(*note);
  if (walk.listFailure) return outcome;
  const std::string held =
      holding == 0 ? "None of " + Count(walk.visited, "profile") + " holds copies of its own"
                   : std::to_string(holding) + " of " + Count(walk.visited, "profile") +
                         (holding == 1 ? " holds its" : " hold their") + " own copies of " +
                         Count(settings.size(), "setting");
  outcome.lines.push_back(
      held + (unreadable == 0 ? "" : "; " + std::to_string(unreadable) + " could not be read") +
      ".");
  outcome.clean = holding == 0 && unreadable == 0;
  return outcome;
}

UsersOutcome ClearUserCopies(Registry& registry, Profiles& profiles, HelperLibrary& helperLibrary,
                             const NumberSeparators& numberSeparators, WindowsWidth width) {
  if (!profiles.RunsAsAdministrator()) {
    return {false,
            {"Nothing was removed: removing the copies in other users' profiles needs "
             "administrator rights. Run it from an elevated prompt, or as SYSTEM."}};
  }
  UsersOutcome outcome;
  bool allRemoved = true;
  const auto say = [&](const std::string& line, bool failed) {
    outcome.lines.push_back(line);
    allRemoved = allRemoved && !failed;
  };
  const ProfileWalk walk =
      VisitProfiles(registry, profiles, KeyAccess::Write, [&](const VisitedProfile& profile) {
        if (!profile.registry) return say(profile.name + ": cannot clear: " + profile.failure + ".", true);
        for (const CopyPlace& place : kCopyPlaces) {
          if (place.location.root != RootKey::CurrentUser) continue;
          const std::string key = KeyOfUser(profile, place.at, width);
          KeyHandle opened{};
          const long code = profile.registry->OpenKey(place.location.root, place.location.path,
                                                      KeyAccess::Write, place.view, opened);
          if (code == kErrorFileNotFound) continue;
          if (code != kErrorSuccess) {
            say(profile.name + ": cannot clear: " + key + " could not be opened (error " +
                    std::to_string(code) + ").",
                true);
            continue;
          }
          for (const Setting& row : SettingsCatalogue()) {
            const std::vector<FoundAt> copies = CopiesOf(ResidenceOf(row), width);
            if (std::ranges::find(copies, place.at) == copies.end()) continue;
            const std::string name(row.name);
            const long removed = profile.registry->DeleteValue(opened, name);
            if (removed == kErrorSuccess) {
              say("Removed " + Quoted(name) + " from " + key + " (" + profile.name + ").", false);
            } else if (removed != kErrorFileNotFound) {
              say("Could not remove " + Quoted(name) + " from " + key + " (" + profile.name +
                      "): error " + std::to_string(removed) + ".",
                  true);
            }
          }
          profile.registry->CloseKey(opened);
        }
      });
  if (walk.listFailure) return {false, {*walk.listFailure}};
  const UsersOutcome left =
      ListUserCopies(registry, profiles, helperLibrary, numberSeparators, width);
  outcome.lines.insert(outcome.lines.end(), left.lines.begin(), left.lines.end());
  outcome.clean = allRemoved;
  return outcome;
}

}  // namespace quillon
