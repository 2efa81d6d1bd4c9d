// The load: the catalogue's rows in the load's order, each by its read rule.
#include "model/SettingsLoad.h"

#include <cstdint>
#include <string>
#include <utility>

#include "model/ControlTable.h"

namespace quillon {
namespace {

using Id = ControlId;

std::string NameOf(const Setting& row) { return std::string(row.name); }

// A check box shows 0 clear, 1 ticked and 2 greyed. Any other stored number
// is not 0, so the box shows ticked; Apply then writes 1 back.
int CheckBoxValueOf(std::int32_t number) {
  return number == 0 || number == 1 || number == 2 ? static_cast<int>(number) : 1;
}

std::string UndecodableWarning(const Setting& row, PasswordStatus status) {
  const std::string failure = LibraryFailure(status, "decodes");
  return "The stored \"" + NameOf(row) + "\" could not be decoded" +
         (failure.empty() ? "" : ": " + failure) +
         ". Its box is left empty, and the stored password is kept unless you type a new one.";
}

}  // namespace

SettingsLoad::SettingsLoad(Controls& controls, SettingLocations& locations, LookDepth depth,
                           StoredPasswordCodec& passwords, MessageBoxes& messageBoxes)
    : controls_(controls),
      locations_(locations),
      depth_(depth),
      passwords_(passwords),
      messageBoxes_(messageBoxes) {
  locations_.SetLookDepth(depth);
}

LoadRecord SettingsLoad::Run() {
  // Both boxes start ticked: the load ticks chkPersistent whatever it finds,
  // and the post action's names untick chkPostActionWait or leave it. No read
  // looks at either and neither raises a change notification, so ticking
  // them first shows the same as ticking them where their settings are read.
  controls_.SetValue(Id::chkPersistent, 1);
  controls_.SetValue(Id::chkPostActionWait, 1);

  BitSets loaded;
  ForEachSetting(
      LoadOrder(), [](const Setting& row) { return row.read; },
      [this, &loaded](Rows rows) { LoadSetting(rows, loaded); });
  // Once all the numbers are in.
  ShowBitSets(loaded, controls_);
  if (depth_ == LookDepth::EveryCopy) NoteUnreadRows();
  record_.firstNumberView = locations_.FirstNumberView();
  return std::move(record_);
}

void SettingsLoad::LoadSetting(Rows rows, BitSets& loaded) {
  const Setting& row = *rows.front();
  const std::string name = NameOf(row);
  switch (row.read) {
    case ReadRule::MachineText:
      controls_.SetText(*row.control, TakeAndTickScope(row, locations_.GetMachineString(name)));
      return;
    case ReadRule::EnvironmentText:
      controls_.SetText(*row.control, TakeAndTickScope(row, locations_.GetEnvironmentString(name)));
      return;
    case ReadRule::UserFirstText:
      controls_.SetText(*row.control, TakeAndTickScope(row, locations_.FindString(name)));
      return;
    case ReadRule::MachineNumber:
      ShowNumber(row, TakeAndTickScope(row, locations_.GetMachineLong(name)), loaded);
      return;
    case ReadRule::UserFirstNumber:
      ShowNumber(row, TakeAndTickScope(row, locations_.FindLong(name, row.defaultNumber)), loaded);
      return;
    case ReadRule::FirstNonZero:
      controls_.SetValue(*row.control,
                         CheckBoxValueOf(TakeAndTickScope(row, locations_.FindNonZeroLong(name))));
      return;
    case ReadRule::Password:
      LoadPassword(row);
      return;
    case ReadRule::FileName:
    case ReadRule::PostAction:
    case ReadRule::MergeFile:
      LoadFirstNameFound(rows);
      return;
    case ReadRule::Never:
      return;
  }
}

void SettingsLoad::ShowNumber(const Setting& row, std::int32_t number, BitSets& loaded) {
  if (row.bitSet) {
    loaded[*row.bitSet] = static_cast<std::uint32_t>(number);
  } else if (DefinitionOf(*row.control).kind == ControlKind::kCheckBox) {
    controls_.SetValue(*row.control, CheckBoxValueOf(number));
  } else {
    controls_.SetText(*row.control, std::to_string(number));
  }
}

// One text under several names: the first name, in load order, that holds a
// text wins, and what that name means goes with it. The boxes start empty
// and the merge combo at its first item, so a name that holds nothing
// changes nothing, and that item stays when neither merge name holds a file.
void SettingsLoad::LoadFirstNameFound(Rows rows) {
  for (auto row = rows.begin(); row != rows.end(); ++row) {
    const std::string text = TakeAndTickScope(**row, locations_.FindString(NameOf(**row)));
    if (text.empty()) continue;
    controls_.SetText(*(*row)->control, text);
    if ((*row)->variant.persistent) controls_.SetValue(Id::chkPersistent, 1);
    if ((*row)->variant.noWait) controls_.SetValue(Id::chkPostActionWait, 0);
    if (!(*row)->variant.mergeCommand.empty()) {
      controls_.SetText(Id::cboMergeCommand, std::string((*row)->variant.mergeCommand));
    }
    if (depth_ == LookDepth::EveryCopy) {
      for (++row; row != rows.end(); ++row) NotePassedOver(**row, locations_.FindString(NameOf(**row)));
    }
    return;
  }
}

void SettingsLoad::LoadPassword(const Setting& row) {
  const std::string stored = TakeAndTickScope(row, locations_.FindString(NameOf(row)));
  const PasswordResult password = passwords_.DecryptPassword(stored);
  controls_.SetText(*row.control, password.text);
  if (password.status == PasswordStatus::Ok) return;
  record_.passwordsNotShown.insert(*row.control);
  ShowWindowWarning(messageBoxes_, UndecodableWarning(row, password.status));
}

template <typename Data>
Data SettingsLoad::TakeAndTickScope(const Setting& row, Found<Data> found) {
  const bool ticks = row.ticksApplyToAllUsers && (found.at == FoundAt::MachineKey ||
                                                  found.at == FoundAt::MachineKey64BitView);
  if (ticks) controls_.SetValue(Id::chkApplyToAllUsers, 1);
  record_.values.push_back({&row, found.at, std::move(found.looks), ticks});
  return std::move(found.data);
}

// The rows the window never reads, with every copy they may have.
void SettingsLoad::NoteUnreadRows() {
  for (const Setting& row : SettingsCatalogue()) {
    if (row.read != ReadRule::Never) continue;
    ValueRecord value{&row, FoundAt::Nowhere, {}, false};
    locations_.LookAtUnreadCopies(ResidenceOf(row), NameOf(row), value.looks);
    record_.values.push_back(std::move(value));
  }
}

// A name after the one that gave the control its value: every copy the
// load would take is hidden behind that name's.
void SettingsLoad::NotePassedOver(const Setting& row, Found<std::string> found) {
  for (Look& look : found.looks) {
    if (look.verdict == Verdict::Taken) look.verdict = Verdict::Hidden;
  }
  record_.values.push_back({&row, FoundAt::Nowhere, std::move(found.looks), false});
}

}  // namespace quillon
