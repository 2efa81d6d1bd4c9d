// ApplySettings and the Apply button: the window written back to the
// registry, row by row in Apply's order, each setting written first and its
// other copies removed only once the write succeeded.
#include "app/AdminUtilityMain.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/ControlTable.h"

namespace quillon {
namespace {

using Id = ControlId;

// The merge command the driver's settings have no value for.
constexpr std::string_view kOverlayCommand = "Overlay";

constexpr const char* kSettingsSaved = "Settings saved.";
constexpr const char* kNotAllSaved =
    "Not all settings were saved: the messages before this one name what failed. The window "
    "stays open with your entries, so that you can apply them again.";

// The pass's numbers from the check boxes and the lists. Writes nothing.
BitSets PackBitSets(const Controls& controls) {
  BitSets packed;
  if (controls.Value(kResizingBox) != 0) {
    packed[BitSet::Options] |= kResizingBit;
    packed[BitSet::OptionsMask] |= kResizingBit;
  }
  const std::string level = controls.Text(kEncryptionCombo);
  for (const EncryptionLevel& item : kEncryptionLevels) {
    if (level != item.item) continue;
    packed[BitSet::Options] |= item.bit;
    packed[BitSet::OptionsMask] |= kEncryptionGroup;
  }
  for (const PermissionCombo& combo : kPermissionCombos) {
    const std::string chosen = controls.Text(combo.combo);
    if (chosen == combo.allowItem) packed[BitSet::Permissions] |= combo.bits;
    if (chosen == combo.allowItem || chosen == combo.preventItem) {
      packed[BitSet::PermissionsMask] |= combo.bits;
    }
  }
  for (const DisabledOptionBit& option : kDisabledOptionBits) {
    const bool ticked = controls.Value(option.box) != 0;
    if (ticked == (option.sense == Sense::Set)) packed[BitSet::DisabledOptions] |= option.bit;
  }
  // The placement counts only with a watermark file to place.
  if (!controls.Text(Id::txtWatermarkFile).empty()) {
    const std::string placement = controls.Text(kWatermarkPlacementCombo);
    for (const WatermarkPlacement& item : kWatermarkPlacements) {
      if (placement == item.item) packed[BitSet::FileOptions] |= item.bit;
    }
  }
  return packed;
}

// The names of one setting in the order the load tries them; names the load
// never reads come last.
std::vector<const Setting*> ByLoadPrecedence(std::span<const Setting* const> rows) {
  std::vector<const Setting*> ordered(rows.begin(), rows.end());
  std::ranges::stable_sort(ordered, [](const Setting* a, const Setting* b) {
    const bool aRead = a->read != ReadRule::Never;
    const bool bRead = b->read != ReadRule::Never;
    return aRead != bRead ? aRead : a->load < b->load;
  });
  return ordered;
}

// Built by appending: GCC 12 at -O3 sees a false overlap (-Wrestrict) in a
// literal joined to a temporary string.
std::string NumberRefusal(const Setting& row, const std::string& text) {
  std::string refusal = "\"";
  refusal += DefinitionOf(*row.label).caption;
  refusal += "\" must hold a number from -2147483648 to 2147483647, not \"";
  refusal += text;
  refusal += "\".";
  return refusal;
}

constexpr const char* kOverlayRefusal =
    "\"Overlay\" cannot be stored for the merge file: the printer can only append or prepend "
    "it. Choose \"Append\" or \"Prepend\", or empty the merge file box.";

}  // namespace

// What a pass has found out so far.
struct AdminUtilityMain::ApplyPass {
  BitSets bitSets;
  bool jobOptionWritten = false;  // lets "persistent" be written
  bool allSaved = true;
};

// The name a setting is to be stored under, and what and where.
struct AdminUtilityMain::Choice {
  const Setting* row;
  bool allUsers;
  SettingData data;
};

ApplyOutcome AdminUtilityMain::ApplySettings() {
  if (const std::string refusal = RefusalOfPass(); !refusal.empty()) {
    Warn(refusal);
    return ApplyOutcome::Refused;
  }
  ports_.controls.ShowWaitPointer();
  ApplyPass pass{.bitSets = PackBitSets(ports_.controls)};
  ForEachSetting(
      ApplyOrder(), [](const Setting& row) { return row.write; },
      [this, &pass](Rows rows) { ApplySetting(rows, pass); });
  ports_.controls.RestorePointer();
  return pass.allSaved ? ApplyOutcome::Saved : ApplyOutcome::NotAllSaved;
}

void AdminUtilityMain::btnApply_Click() {
  switch (ApplySettings()) {
    case ApplyOutcome::Refused:
      return;
    case ApplyOutcome::NotAllSaved:
      WarnNotAllSaved();
      return;
    case ApplyOutcome::Saved:
      ports_.messageBoxes.Show(kSettingsSaved, kAdministratorUtilityTitle, kMbOk);
      locations_.ClearProductValue(std::string(kTitleValueName));
      ports_.controls.Close();
      return;
  }
}

void AdminUtilityMain::WarnNotAllSaved() { Warn(kNotAllSaved); }

// Everything a pass would have to refuse, found before anything is written;
// empty when the pass may go ahead.
std::string AdminUtilityMain::RefusalOfPass() {
  std::string reasons;
  for (const Setting& row : SettingsCatalogue()) {
    if (!row.label) continue;
    const std::string text = ports_.controls.Text(*row.control);
    if (!IntegerOfText(text, ports_.numberSeparators)) reasons += "\n\n" + NumberRefusal(row, text);
  }
  if (!ports_.controls.Text(Id::txtMergeFile).empty() &&
      ports_.controls.Text(Id::cboMergeCommand) == kOverlayCommand) {
    reasons += std::string("\n\n") + kOverlayRefusal;
  }
  return reasons.empty() ? reasons : "Nothing was saved." + reasons;
}

// Read afresh at each use.
bool AdminUtilityMain::ChosenScope() {
  return ports_.controls.Value(Id::chkApplyToAllUsers) != 0;
}

void AdminUtilityMain::ApplySetting(Rows rows, ApplyPass& pass) {
  const Setting& row = *rows.front();
  switch (row.write) {
    case WriteRule::AllUsers:
    case WriteRule::ChosenScope:
      ApplyTableRow(row, pass);
      return;
    case WriteRule::SaveDialog:
      // The save dialog's own per-user number goes whenever Print File is
      // disabled; nothing else touches the save dialog's key.
      if (ports_.controls.Value(Id::chkPrintPDF) != 0) {
        pass.allSaved = locations_.DeleteSaveDialogValue(std::string(row.name)) && pass.allSaved;
      }
      return;
    case WriteRule::FileName:
      ApplyFileName(rows, pass);
      return;
    case WriteRule::PostAction:
      ApplyPostAction(rows, pass);
      return;
    case WriteRule::MergeFile:
      ApplyMergeFile(rows, pass);
      return;
    case WriteRule::TempFolder:
      ApplyTempFolder(row, pass);
      return;
    case WriteRule::Password:
      ApplyPassword(row, pass);
      return;
    case WriteRule::Persistent:
      ApplyPersistent(row, pass);
      return;
  }
}

void AdminUtilityMain::ApplyTableRow(const Setting& row, ApplyPass& pass) {
  const Controls& controls = ports_.controls;
  SettingData data;
  if (row.bitSet) {
    data = static_cast<std::int32_t>(pass.bitSets[*row.bitSet]);
  } else if (row.type == ValueType::Text) {
    data = controls.Text(*row.control);
  } else if (DefinitionOf(*row.control).kind == ControlKind::kCheckBox) {
    data = static_cast<std::int32_t>(controls.Value(*row.control));
  } else {
    // RefusalOfPass has made sure there is one.
    data = IntegerOfText(controls.Text(*row.control), ports_.numberSeparators).value_or(0);
  }

  bool store = true;
  switch (row.when) {
    case StoredWhen::Always:
      break;
    case StoredWhen::TextNotEmpty:
      store = !std::get<std::string>(data).empty();
      break;
    case StoredWhen::TextNotExactlyZero:
      store = controls.Text(*row.control) != "0";
      break;
    case StoredWhen::NumberNotDefault:
      store = std::get<std::int32_t>(data) != row.defaultNumber;
      break;
    case StoredWhen::NumberNotZero:
      store = std::get<std::int32_t>(data) != 0;
      break;
  }
  const bool allUsers = row.write == WriteRule::AllUsers || ChosenScope();
  const Setting* const only[] = {&row};
  Replace(only, store ? std::optional<Choice>(Choice{&row, allUsers, data}) : std::nullopt, pass);
  if (store && row.jobOption) pass.jobOptionWritten = true;
}

// Under the "Default" name when chkPersistent is anything but clear.
void AdminUtilityMain::ApplyFileName(Rows rows, ApplyPass& pass) {
  const std::string fileName = ports_.controls.Text(*rows.front()->control);
  const bool persistent = ports_.controls.Value(Id::chkPersistent) != 0;
  std::optional<Choice> choice;
  if (!fileName.empty()) {
    const auto row = std::ranges::find(rows, persistent, [](const Setting* r) {
      return r->variant.persistent;
    });
    choice = Choice{*row, ChosenScope(), fileName};
  }
  Replace(rows, choice, pass);
}

// The command gets the placeholder for the PDF's path when it lacks it, in
// the box too. Its name follows chkPersistent and chkPostActionWait; a greyed
// box matches no name, and then nothing is stored.
void AdminUtilityMain::ApplyPostAction(Rows rows, ApplyPass& pass) {
  Controls& controls = ports_.controls;
  const ControlId box = *rows.front()->control;
  std::string command = controls.Text(box);
  std::optional<Choice> choice;
  if (!command.empty()) {
    if (command.find(kPostActionSuffix) == std::string::npos) {
      command += kPostActionSuffix;
      controls.SetText(box, command);
    }
    const int persistent = controls.Value(Id::chkPersistent);
    const int wait = controls.Value(Id::chkPostActionWait);
    for (const Setting* row : rows) {
      if (persistent == (row->variant.persistent ? 1 : 0) && wait == (row->variant.noWait ? 0 : 1)) {
        choice = Choice{row, ChosenScope(), command};
      }
    }
  }
  Replace(rows, choice, pass);
}

// A merge file counts as a job option whatever the combo shows; it is stored
// only under the name of an exactly matching command ("Overlay" was refused
// before the pass).
void AdminUtilityMain::ApplyMergeFile(Rows rows, ApplyPass& pass) {
  const std::string file = ports_.controls.Text(*rows.front()->control);
  const std::string command = ports_.controls.Text(Id::cboMergeCommand);
  std::optional<Choice> choice;
  if (!file.empty()) {
    pass.jobOptionWritten = true;
    for (const Setting* row : rows) {
      if (!row->variant.mergeCommand.empty() && row->variant.mergeCommand == command) {
        choice = Choice{row, ChosenScope(), file};
      }
    }
  }
  Replace(rows, choice, pass);
}

// The system environment's variable lives in one place only. Running
// programs are told either way; whether they listened is not known.
void AdminUtilityMain::ApplyTempFolder(const Setting& row, ApplyPass& pass) {
  const std::string folder = ports_.controls.Text(*row.control);
  const std::string name(row.name);
  const bool done =
      folder.empty() ? locations_.DeleteEnvironmentValue(name)
                     : locations_.SaveEnvironmentString(name, folder);
  pass.allSaved = done && pass.allSaved;
  ports_.environmentBroadcast.AnnounceEnvironmentChange();
}

// Written or deleted at the machine key only; copies elsewhere stay. An empty
// box whose stored password could not be shown leaves that password alone.
void AdminUtilityMain::ApplyPassword(const Setting& row, ApplyPass& pass) {
  const ControlId box = *row.control;
  const std::string password = ports_.controls.Text(box);
  const std::string name(row.name);
  if (password.empty()) {
    if (passwordsNotShown_.contains(box)) return;
    pass.allSaved = locations_.DeleteMachineValue(name) && pass.allSaved;
    return;
  }
  pass.jobOptionWritten = true;
  const PasswordResult stored = passwords_.EncryptPassword(password);
  if (stored.status != PasswordStatus::Ok) {
    const char* cause = stored.status == PasswordStatus::ExportMissing
                            ? " lacks the function that encodes it"
                            : " could not be loaded";
    Warn("\"" + name + "\" was not saved: " + kHelperLibraryName + cause +
         ". The stored password was left as it was.");
    pass.allSaved = false;
    return;
  }
  if (!locations_.SaveMachineString(name, stored.text)) {
    pass.allSaved = false;
    return;
  }
  passwordsNotShown_.erase(box);
}

// 1 when chkPersistent is exactly ticked and this pass wrote a job option.
void AdminUtilityMain::ApplyPersistent(const Setting& row, ApplyPass& pass) {
  const bool store = ports_.controls.Value(Id::chkPersistent) == 1 && pass.jobOptionWritten;
  const Setting* const only[] = {&row};
  Replace(only, store ? std::optional<Choice>(Choice{&row, ChosenScope(), std::int32_t{1}})
                      : std::nullopt,
          pass);
}

void AdminUtilityMain::Replace(Rows rows, const std::optional<Choice>& choice, ApplyPass& pass) {
  const std::vector<const Setting*> ordered = ByLoadPrecedence(rows);
  std::vector<std::string> names;
  for (const Setting* row : ordered) names.emplace_back(row->name);
  std::optional<SettingWrite> write;
  if (choice) {
    const auto index = static_cast<std::size_t>(std::ranges::find(ordered, choice->row) -
                                                ordered.begin());
    write = SettingWrite{index, choice->allUsers, choice->data};
  }
  pass.allSaved = locations_.ReplaceSetting(names, write) && pass.allSaved;
}

}  // namespace quillon
