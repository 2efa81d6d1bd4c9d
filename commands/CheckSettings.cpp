// The check: two loads on in-memory windows, one over the registry as it is,
// one over the registry with the file's changes recorded on top.
#include "commands/CheckSettings.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <utility>

#include "model/AdminUtilityMain.h"
#include "model/ControlTable.h"
#include "commands/EveryProfile.h"
#include "commands/HeadlessPorts.h"
#include "commands/SettingsDisplay.h"
#include "commands/UserCopies.h"
#include "settings/HiveRegistry.h"

namespace quillon {
namespace {

// The place of the printer's that a file's key lands in, if any; a key
// removed whole takes the places below it along.
std::vector<FoundAt> PlacesUnder(const RegFileOperation& operation, WindowsWidth width) {
  std::vector<FoundAt> places;
  if (!operation.root) return places;
  const KeyInView key = ImportedKey(*operation.root, operation.path, width);
  for (const FoundAt at : PlacesTheUtilityUses()) {
    const CopyPlace& place = PlaceOf(at);
    if (place.location.root != *operation.root ||
        EffectiveView(place.location.root, place.location.path, place.view) !=
            EffectiveView(*operation.root, key.path, key.view)) {
      continue;
    }
    const bool reached = operation.kind == RegFileOperation::Kind::RemoveKey
                             ? InKeyTree(key.path, place.location.path)
                             : SameName(key.path, place.location.path);
    if (reached) places.push_back(at);
  }
  return places;
}

// Writes the file's changes to the printer's keys into the recorder, those
// to HKEY_CURRENT_USER only where the user imports it; the number of values
// it names elsewhere, which the check leaves alone.
enum class UserPart { Lands, Elsewhere };
std::size_t RecordFile(RecordingRegistry& recorder, std::span<const RegFileOperation> file,
                       WindowsWidth width, UserPart userPart) {
  std::size_t elsewhere = 0;
  for (const RegFileOperation& operation : file) {
    if (userPart == UserPart::Elsewhere && operation.root == RootKey::CurrentUser) continue;
    const std::vector<FoundAt> places = PlacesUnder(operation, width);
    if (places.empty()) {
      if (operation.kind != RegFileOperation::Kind::RemoveKey) ++elsewhere;
      continue;
    }
    for (const FoundAt at : places) {
      const CopyPlace& place = PlaceOf(at);
      if (operation.kind == RegFileOperation::Kind::RemoveKey) {
        recorder.RemoveKeyTree(place.location.root, place.location.path, place.view);
        continue;
      }
      KeyHandle key{};
      // A key that cannot be read is the recorder's first read failure.
      if (recorder.OpenKey(place.location.root, place.location.path, KeyAccess::Write,
                           place.view, key) != kErrorSuccess) {
        continue;
      }
      if (operation.kind == RegFileOperation::Kind::SetValue) {
        (void)recorder.SetValue(key, operation.name, operation.value.type, operation.value.data);
      } else {
        (void)recorder.DeleteValue(key, operation.name);
      }
      recorder.CloseKey(key);
    }
  }
  return elsewhere;
}

// A file made on Windows of the other width names the machine key so that it
// lands in a view the utility does not read.
std::optional<std::string> OtherWidthWarning(std::span<const RegFileOperation> file,
                                             WindowsWidth width) {
  bool redirected = false, plainWrite = false;
  for (const RegFileOperation& operation : file) {
    if (operation.root != RootKey::LocalMachine) continue;
    // Named as on 64-bit Windows, where both views have a name.
    const KeyInView key = ImportedKey(RootKey::LocalMachine, operation.path, WindowsWidth::Bits64);
    if (!SameName(key.path, kMachineProductKey.path)) continue;
    redirected = redirected || key.view == RegistryView::Default;
    plainWrite = plainWrite || (key.view == RegistryView::Wow64_64 &&
                                operation.kind == RegFileOperation::Kind::SetValue);
  }
  if (width == WindowsWidth::Bits32 && redirected) {
    return "The file was made on 64-bit Windows: its machine values are under WOW6432Node, "
           "which 32-bit Windows does not have, so imported here it writes none the utility "
           "reads.";
  }
  if (width == WindowsWidth::Bits64 && plainWrite && !redirected) {
    return "The file was made on 32-bit Windows: imported here, its machine values land in the "
           "64-bit view, which the utility reads for numbers only.";
  }
  return std::nullopt;
}

// One line of the comparison: a setting under its caption, or one of the
// window's own boxes that the load sets.
struct Entry {
  std::string heading;
  std::vector<ControlId> controls;
  std::vector<const Setting*> rows;  // none for the window's own boxes
};

std::vector<Entry> Entries() {
  std::vector<Entry> entries;
  std::set<ControlId> covered;
  for (const Setting* row : InPageOrder()) {
    const std::optional<ControlId> anchor = AnchorOf(*row);
    if (!anchor) continue;
    if (entries.empty() || entries.back().heading != Heading(*row)) {
      entries.push_back(
          {Heading(*row), row->bitSet ? ControlsOf(*row->bitSet) : std::vector{*row->control}, {}});
      covered.insert(entries.back().controls.begin(), entries.back().controls.end());
    }
    entries.back().rows.push_back(row);
  }
  for (const ControlDefinition& control : ControlTable()) {
    const bool shows = control.kind == ControlKind::kCheckBox ||
                       control.kind == ControlKind::kTextBox ||
                       control.kind == ControlKind::kComboBox;
    if (shows && !covered.contains(control.id)) {
      entries.push_back({CaptionOf(control.id), {control.id}, {}});
    }
  }
  return entries;
}

// The name of a setting with several that the control's value was taken
// under: it means something of its own, such as the file name's persistence.
const Setting* NameTaken(const Entry& entry, const LoadRecord& record) {
  for (const Setting* row : entry.rows) {
    const ValueRecord* value = record.Of(*row);
    if (value && value->taken != FoundAt::Nowhere) return row;
  }
  return nullptr;
}

bool Same(const Entry& entry, const HeadlessLoad& a, const HeadlessLoad& b) {
  const bool severalNames = entry.rows.size() > 1;
  return (!severalNames || NameTaken(entry, a.Record()) == NameTaken(entry, b.Record())) &&
         std::ranges::all_of(entry.controls, [&](ControlId id) {
           return a.controls.Text(id) == b.controls.Text(id) &&
                  a.controls.Value(id) == b.controls.Value(id);
         });
}

std::string Shown(const Entry& entry, const HeadlessLoad& loaded) {
  if (entry.rows.empty()) return ShownIn(loaded.controls, entry.controls.front());
  return ShownFor(loaded.controls, *entry.rows.front(), loaded.Record().passwordsNotShown);
}

// How a place is named to the caller: as the running account's, or as one
// profile's.
using KeyNamer = std::function<std::string(FoundAt)>;

std::string Source(const Entry& entry, const LoadRecord& record, const KeyNamer& keyName) {
  if (const Setting* row = NameTaken(entry, record)) {
    return "now from " + keyName(record.Of(*row)->taken) + " (" + Quoted(row->name) + ")";
  }
  return entry.rows.empty() ? "the window sets it from where the settings were found"
                            : "now its default";
}

std::string Differs(const Entry& entry, const HeadlessLoad& now, const HeadlessLoad& after,
                    const KeyNamer& keyName) {
  const bool password = !entry.rows.empty() && entry.rows.front()->read == ReadRule::Password;
  const auto shown = [&](const HeadlessLoad& loaded) {
    const Setting* name = NameTaken(entry, loaded.Record());
    return Shown(entry, loaded) +
           (name && entry.rows.size() > 1 ? " under " + Quoted(name->name) : std::string());
  };
  std::string line = entry.heading + ": ";
  if (entry.controls.size() > 1) {
    // A bit set by the boxes and lists that differ, not all it shows.
    std::string changes;
    for (const ControlId id : entry.controls) {
      const std::string nowShown = ShownIn(now.controls, id),
                        afterShown = ShownIn(after.controls, id);
      if (nowShown == afterShown) continue;
      changes += (changes.empty() ? "" : "; ") + CaptionOf(id) + " " + nowShown +
                 ", the file " + afterShown;
    }
    line += changes;
  } else {
    const std::string nowShown = shown(now), afterShown = shown(after);
    line += password && nowShown == afterShown ? "a different password"
                                               : "shows " + nowShown + ", the file " + afterShown;
  }
  return line + "; " + Source(entry, now.Record(), keyName);
}

std::string Ignored(std::size_t elsewhere) {
  return elsewhere == 0   ? ""
         : elsewhere == 1 ? " (1 value elsewhere was ignored)"
                          : " (" + std::to_string(elsewhere) + " values elsewhere were ignored)";
}

}  // namespace

CheckOutcome CheckSettings(Registry& registry, HelperLibrary& helperLibrary,
                           const NumberSeparators& numberSeparators,
                           std::span<const RegFileOperation> file, WindowsWidth width) {
  std::vector<std::string> lines;
  if (std::optional<std::string> other = OtherWidthWarning(file, width)) lines.push_back(*other);

  NoPrinters printers;
  RecordingRegistry current(registry);
  const HeadlessLoad now(current, printers, helperLibrary, numberSeparators,
                         LookDepth::UpToTheWinner);
  if (const auto& failure = current.FirstReadFailure()) {
    lines.push_back(CannotCheck(*failure, width));
    return {CheckOutcome::Verdict::CannotCheck, lines};
  }
  RecordingRegistry imported(registry);
  const std::size_t elsewhere = RecordFile(imported, file, width, UserPart::Lands);
  const HeadlessLoad after(imported, printers, helperLibrary, numberSeparators,
                           LookDepth::UpToTheWinner);
  if (const auto& failure = imported.FirstReadFailure()) {
    lines.push_back(CannotCheck(*failure, width));
    return {CheckOutcome::Verdict::CannotCheck, lines};
  }

  std::size_t differing = 0;
  for (const Entry& entry : Entries()) {
    if (Same(entry, now, after)) continue;
    lines.push_back(Differs(entry, now, after, [&](FoundAt at) { return KeyName(at, width); }));
    ++differing;
  }
  const std::string ignored = Ignored(elsewhere);
  if (differing == 0) {
    lines.push_back("This machine shows every setting as the file would make it show" + ignored +
                    ".");
    return {CheckOutcome::Verdict::Same, lines};
  }
  lines.push_back(std::to_string(differing) +
                  (differing == 1 ? " setting differs" : " settings differ") +
                  " from what the file would make it show" + ignored + ".");
  return {CheckOutcome::Verdict::Differs, lines};
}

CheckOutcome CheckSettingsForEveryUser(Registry& registry, Profiles& profiles,
                                       HelperLibrary& helperLibrary,
                                       const NumberSeparators& numberSeparators,
                                       std::span<const RegFileOperation> file, WindowsWidth width) {
  std::vector<std::string> lines;
  if (std::optional<std::string> other = OtherWidthWarning(file, width)) lines.push_back(*other);

  NoPrinters printers;
  EmptyUserHive nothingOwn;
  HiveRegistry freshUser(registry, {nothingOwn, RootKey::CurrentUser, ""});
  RecordingRegistry wantedRecorder(freshUser);
  const std::size_t elsewhere = RecordFile(wantedRecorder, file, width, UserPart::Lands);
  const HeadlessLoad wanted(wantedRecorder, printers, helperLibrary, numberSeparators,
                            LookDepth::UpToTheWinner);
  if (const auto& failure = wantedRecorder.FirstReadFailure()) {
    lines.push_back(CannotCheck(*failure, width));
    return {CheckOutcome::Verdict::CannotCheck, lines};
  }

  const std::string runner = profiles.RunningAccountSid();
  std::size_t differing = 0, profilesDiffering = 0, unreadable = 0;
  const ProfileWalk walk =
      VisitProfiles(registry, profiles, KeyAccess::Read, [&](const VisitedProfile& profile) {
        if (!profile.registry) {
          lines.push_back(profile.name + ": cannot check: " + profile.failure + ".");
          ++unreadable;
          return;
        }
        RecordingRegistry current(*profile.registry), imported(*profile.registry);
        // Every copy: the user's own variables, which the window never reads, too.
        const HeadlessLoad now(current, printers, helperLibrary, numberSeparators,
                               LookDepth::EveryCopy);
        RecordFile(imported, file, width,
                   profile.profile.sid == runner ? UserPart::Lands : UserPart::Elsewhere);
        const HeadlessLoad after(imported, printers, helperLibrary, numberSeparators,
                                 LookDepth::UpToTheWinner);
        const auto& failure =
            current.FirstReadFailure() ? current.FirstReadFailure() : imported.FirstReadFailure();
        if (failure) {
          lines.push_back(profile.name + ": cannot check: " + UnreadKey(profile, *failure, width) +
                          ".");
          ++unreadable;
          return;
        }
        const KeyNamer keyName = [&](FoundAt at) { return KeyOfUser(profile, at, width); };
        std::size_t here = 0;
        for (const Entry& entry : Entries()) {
          if (Same(entry, now, wanted)) continue;
          lines.push_back(profile.name + ": " + Differs(entry, now, wanted, keyName) +
                          (Same(entry, after, wanted)
                               ? ""
                               : "; importing the file does not change that for this user"));
          ++here;
        }
        for (const ValueRecord& value : now.Record().values) {
          const std::optional<std::string> variable = OwnVariable(value);
          const std::string fileShows =
              ShownFor(wanted.controls, *value.row, wanted.Record().passwordsNotShown);
          if (!variable || Quoted(*variable) == fileShows) continue;
          lines.push_back(profile.name + ": " + Heading(*value.row) + ": the user's own " +
                          Quoted(*variable) + ", the file " + fileShows + "; from " +
                          KeyOfUser(profile, FoundAt::UserEnvironmentKey, width) + " (" +
                          Quoted(value.row->name) +
                          "); importing the file does not change that for this user");
          ++here;
        }
        differing += here;
        profilesDiffering += here == 0 ? 0 : 1;
      });
  if (const std::optional<std::string> note = WalkNote(walk)) lines.push_back(*note);
  if (walk.listFailure) return {CheckOutcome::Verdict::CannotCheck, lines};

  const std::string notRead =
      unreadable == 0 ? "" : "; " + std::to_string(unreadable) + " could not be read";
  if (differing == 0 && unreadable == 0) {
    lines.push_back("Every profile shows every setting as the file would make it show (" +
                    Count(walk.visited, "profile") + ")" + Ignored(elsewhere) + ".");
    return {CheckOutcome::Verdict::Same, lines};
  }
  lines.push_back(Count(differing, "difference") + " in " +
                  std::to_string(profilesDiffering) + " of " + Count(walk.visited, "profile") +
                  " from what the file would make them show" + Ignored(elsewhere) + notRead +
                  ".");
  return {unreadable == 0 ? CheckOutcome::Verdict::Differs : CheckOutcome::Verdict::CannotCheck,
          lines};
}

}  // namespace quillon
