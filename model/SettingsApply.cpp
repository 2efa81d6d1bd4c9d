// One pass of Apply, each setting by its write rule.
#include "model/SettingsApply.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/ControlTable.h"

namespace quillon {
namespace {

using Id = ControlId;

// The names of one setting in the order the load tries them; names the load
// never reads come last.
std::vector<const Setting*> ByLoadPrecedence(std::span<const Setting> rows) {
  std::vector<const Setting*> ordered;
  for (const Setting& row : rows) ordered.push_back(&row);
  std::ranges::stable_sort(ordered, {}, [](const Setting* row) { return LoadRank(*row); });
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

SettingsApply::SettingsApply(ApplyPorts ports, std::set<ControlId>& passwordsNotShown)
    : ports_(ports), passwordsNotShown_(passwordsNotShown) {}

ApplyOutcome SettingsApply::Run() {
  if (const std::string refusal = RefusalOfPass(); !refusal.empty()) {
    ShowWindowWarning(ports_.messageBoxes, refusal);
    return ApplyOutcome::Refused;
  }
  ports_.controls.ShowWaitPointer();
  bitSets_ = PackBitSets(ports_.controls);
  const std::span<const Setting> rows = SettingsCatalogue();
  ForEachSetting(
      rows, [](const Setting& row) { return row.write; },
      [this](Rows setting) {
        if (setting.front().write != WriteRule::Persistent) ApplySetting(setting);
      });
  // Whether "persistent" is written depends on every other row.
  for (const Setting& row : rows) {
    if (row.write == WriteRule::Persistent) ApplyPersistent(row);
  }
  ports_.controls.RestorePointer();
  return allSaved_ ? ApplyOutcome::Saved : ApplyOutcome::NotAllSaved;
}

// Everything a pass would have to refuse, found before anything is written;
// empty when the pass may go ahead.
std::string SettingsApply::RefusalOfPass() const {
  std::string reasons;
  for (const Setting& row : SettingsCatalogue()) {
    if (!row.label) continue;
    const std::string text = ports_.controls.Text(*row.control);
    if (!IntegerOfText(text, ports_.numberSeparators)) reasons += "\n\n" + NumberRefusal(row, text);
  }
  if (!ports_.controls.Text(Id::txtMergeFile).empty() &&
      ports_.controls.Text(Id::cboMergeCommand) == kOverlayItem) {
    reasons += std::string("\n\n") + kOverlayRefusal;
  }
  return reasons.empty() ? reasons : "Nothing was saved." + reasons;
}

// Whether "Apply to all users" is ticked, read afresh at each use.
bool SettingsApply::ForAllUsers() const {
  return ports_.controls.Value(Id::chkApplyToAllUsers) != 0;
}

void SettingsApply::ApplySetting(Rows rows) {
  const Setting& row = rows.front();
  bool held = false;
  switch (row.write) {
    case WriteRule::AllUsers:
    case WriteRule::ChosenScope:
      held = ApplyTableRow(row);
      break;
    case WriteRule::SaveDialog:
      ApplySaveDialog(row);
      break;
    case WriteRule::FileName:
      held = ApplyFileName(rows);
      break;
    case WriteRule::PostAction:
      held = ApplyPostAction(rows);
      break;
    case WriteRule::MergeFile:
      held = ApplyMergeFile(rows);
      break;
    case WriteRule::TempFolder:
      ApplyTempFolder(row);
      break;
    case WriteRule::Password:
      held = ApplyPassword(row);
      break;
    case WriteRule::Persistent:
      break;
  }
  if (held && row.jobOption) jobOptionWritten_ = true;
}

bool SettingsApply::ApplyTableRow(const Setting& row) {
  const Controls& controls = ports_.controls;
  SettingData data;
  if (row.bitSet) {
    data = static_cast<std::int32_t>(bitSets_[*row.bitSet]);
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
  const bool allUsers = row.write == WriteRule::AllUsers || ForAllUsers();
  Replace(Rows(&row, 1),
          store ? std::optional<Choice>(Choice{&row, allUsers, data}) : std::nullopt);
  return store;
}

// The save dialog's own per-user number goes whenever Print File is
// disabled; nothing else touches the save dialog's key.
void SettingsApply::ApplySaveDialog(const Setting& row) {
  if (ports_.controls.Value(Id::chkPrintPDF) != 0) {
    NoteSaved(ports_.locations.DeleteSaveDialogValue(std::string(row.name)));
  }
}

// Under the "Default" name when chkPersistent is anything but clear.
bool SettingsApply::ApplyFileName(Rows rows) {
  const std::string fileName = ports_.controls.Text(*rows.front().control);
  const bool persistent = ports_.controls.Value(Id::chkPersistent) != 0;
  std::optional<Choice> choice;
  if (!fileName.empty()) {
    const auto row =
        std::ranges::find(rows, persistent, [](const Setting& r) { return r.variant.persistent; });
    choice = Choice{&*row, ForAllUsers(), fileName};
  }
  Replace(rows, choice);
  return !fileName.empty();
}

// The command gets the placeholder for the PDF's path when it lacks it, in
// the box too. Its name follows chkPersistent and chkPostActionWait; a greyed
// box matches no name, and then nothing is stored.
bool SettingsApply::ApplyPostAction(Rows rows) {
  Controls& controls = ports_.controls;
  const ControlId box = *rows.front().control;
  std::string command = controls.Text(box);
  std::optional<Choice> choice;
  if (!command.empty()) {
    if (command.find(kPostActionSuffix) == std::string::npos) {
      command += kPostActionSuffix;
      controls.SetText(box, command);
    }
    const int persistent = controls.Value(Id::chkPersistent);
    const int wait = controls.Value(Id::chkPostActionWait);
    for (const Setting& row : rows) {
      if (persistent == (row.variant.persistent ? 1 : 0) && wait == (row.variant.noWait ? 0 : 1)) {
        choice = Choice{&row, ForAllUsers(), command};
      }
    }
  }
  Replace(rows, choice);
  return !command.empty();
}

// Stored only under the name of an exactly matching command ("Overlay" was
// refused before the pass).
bool SettingsApply::ApplyMergeFile(Rows rows) {
  const std::string file = ports_.controls.Text(*rows.front().control);
  const std::string command = ports_.controls.Text(Id::cboMergeCommand);
  std::optional<Choice> choice;
  if (!file.empty()) {
    for (const Setting& row : rows) {
      if (!row.variant.mergeCommand.empty() && row.variant.mergeCommand == command) {
        choice = Choice{&row, ForAllUsers(), file};
      }
    }
  }
  Replace(rows, choice);
  return !file.empty();
}

// The system environment's variable lives in one place only. Running
// programs are told either way; whether they listened is not known.
void SettingsApply::ApplyTempFolder(const Setting& row) {
  const std::string folder = ports_.controls.Text(*row.control);
  const std::string name(row.name);
  NoteSaved(folder.empty() ? ports_.locations.DeleteEnvironmentValue(name)
                       : ports_.locations.SaveEnvironmentString(name, folder));
  ports_.environmentBroadcast.AnnounceEnvironmentChange();
}

// Written or deleted at the machine key only; copies elsewhere stay. An empty
// box whose stored password could not be shown leaves that password alone.
bool SettingsApply::ApplyPassword(const Setting& row) {
  const ControlId box = *row.control;
  const std::string password = ports_.controls.Text(box);
  const std::string name(row.name);
  if (password.empty()) {
    if (!passwordsNotShown_.contains(box)) NoteSaved(ports_.locations.DeleteMachineValue(name));
    return false;
  }
  const PasswordResult stored = ports_.passwords.EncryptPassword(password);
  if (stored.status != PasswordStatus::Ok) {
    ShowWindowWarning(ports_.messageBoxes, "\"" + name + "\" was not saved: " +
                                               LibraryFailure(stored.status, "encodes") +
                                               ". The stored password was left as it was.");
    NoteSaved(false);
  } else if (!ports_.locations.SaveMachineString(name, stored.text)) {
    NoteSaved(false);
  } else {
    passwordsNotShown_.erase(box);
  }
  return true;
}

// 1 when chkPersistent is exactly ticked and this pass wrote a job option.
void SettingsApply::ApplyPersistent(const Setting& row) {
  const bool store = ports_.controls.Value(Id::chkPersistent) == 1 && jobOptionWritten_;
  Replace(Rows(&row, 1), store ? std::optional<Choice>(Choice{&row, ForAllUsers(), std::int32_t{1}})
                               : std::nullopt);
}

void SettingsApply::Replace(Rows rows, const std::optional<Choice>& choice) {
  const std::vector<const Setting*> ordered = ByLoadPrecedence(rows);
  std::vector<std::string> names;
  for (const Setting* row : ordered) names.emplace_back(row->name);
  std::optional<SettingWrite> write;
  if (choice) {
    const auto index =
        static_cast<std::size_t>(std::ranges::find(ordered, choice->row) - ordered.begin());
    write = SettingWrite{index, choice->allUsers, choice->data};
  }
  NoteSaved(ports_.locations.ReplaceSetting(names, write));
}

}  // namespace quillon
