// Form_Load: every value of the catalogue read into the window, in the load's
// order, and the two readers of a value stored at more than one place.
#include "app/AdminUtilityMain.h"

#include <cstdint>
#include <string>

#include "app/ControlTable.h"

namespace quillon {
namespace {

using Id = ControlId;

std::string NameOf(const Setting& row) { return std::string(row.name); }

// A check box shows 0 clear, 1 ticked and 2 greyed. Any other stored number
// is not 0, so the box shows ticked; Apply then writes 1 back.
int CheckBoxValueOf(std::int32_t number) {
  return number == 0 || number == 1 || number == 2 ? static_cast<int>(number) : 1;
}

void ShowEncryptionLevel(const BitSets& loaded, Controls& controls) {
  if ((loaded[BitSet::OptionsMask] & kEncryptionGroup) != kEncryptionGroup) {
    controls.SetText(kEncryptionCombo, "");
    return;
  }
  for (const EncryptionLevel& level : kEncryptionLevels) {
    if ((loaded[BitSet::Options] & level.bit) == level.bit) {
      controls.SetText(kEncryptionCombo, std::string(level.item));
      return;
    }
  }
}

// A combo whose bits the mask lacks keeps its empty item.
void ShowPermissions(const BitSets& loaded, Controls& controls) {
  for (const PermissionCombo& combo : kPermissionCombos) {
    if ((loaded[BitSet::PermissionsMask] & combo.bits) == 0) continue;
    const bool allowed = (loaded[BitSet::Permissions] & combo.bits) != 0;
    controls.SetText(combo.combo, std::string(allowed ? combo.allowItem : combo.preventItem));
  }
}

// Ticks only: every box starts clear.
void ShowDisabledOptions(const BitSets& loaded, Controls& controls) {
  for (const DisabledOptionBit& option : kDisabledOptionBits) {
    const bool bitSet = (loaded[BitSet::DisabledOptions] & option.bit) != 0;
    if (bitSet == (option.sense == Sense::Set)) controls.SetValue(option.box, 1);
  }
}

void ShowResizing(const BitSets& loaded, Controls& controls) {
  if (loaded[BitSet::OptionsMask] != 0 && (loaded[BitSet::Options] & kResizingBit) != 0) {
    controls.SetValue(kResizingBox, 1);
  }
}

// Without a placement bit the combo keeps its initial "Background".
void ShowWatermarkPlacement(const BitSets& loaded, Controls& controls) {
  for (const WatermarkPlacement& placement : kWatermarkPlacements) {
    if ((loaded[BitSet::FileOptions] & placement.bit) != 0) {
      controls.SetText(kWatermarkPlacementCombo, std::string(placement.item));
      return;
    }
  }
}

std::string UndecodableWarning(const Setting& row, PasswordStatus status) {
  std::string cause;
  if (status == PasswordStatus::LibraryMissing) {
    cause = std::string(": ") + kHelperLibraryName + " could not be loaded";
  } else if (status == PasswordStatus::ExportMissing) {
    cause = std::string(": ") + kHelperLibraryName + " lacks the function that decodes it";
  }
  return "The stored \"" + NameOf(row) + "\" could not be decoded" + cause +
         ". Its box is left empty, and the stored password is kept unless you type a new one.";
}

}  // namespace

void AdminUtilityMain::Form_Load() {
  Controls& controls = ports_.controls;
  // chkPersistent is ticked by every load (step 8) and chkPostActionWait as
  // the post action's reading starts (step 11). No read looks at either and
  // neither raises a change notification, so ticking them first changes
  // nothing anyone can see, and the names found later untick or tick again.
  controls.SetValue(Id::chkPersistent, 1);
  controls.SetValue(Id::chkPostActionWait, 1);

  BitSets loaded;
  ForEachSetting(
      LoadOrder(), [](const Setting& row) { return row.read; },
      [this, &loaded](Rows rows) { LoadSetting(rows, loaded); });

  // Decoding the bit sets (steps 4 to 7, and the placement of step 18) sets
  // combos and check boxes that no other step touches and that raise no
  // change notification: done once all the numbers are in, it shows the same.
  ShowEncryptionLevel(loaded, controls);
  ShowPermissions(loaded, controls);
  ShowDisabledOptions(loaded, controls);
  ShowResizing(loaded, controls);
  ShowWatermarkPlacement(loaded, controls);

  txtPDFFileName_Change();
}

void AdminUtilityMain::LoadSetting(Rows rows, BitSets& loaded) {
  const Setting& row = *rows.front();
  Controls& controls = ports_.controls;
  switch (row.read) {
    case ReadRule::MachineText:
      controls.SetText(*row.control, locations_.GetMachineString(NameOf(row)));
      return;
    case ReadRule::EnvironmentText:
      controls.SetText(*row.control, locations_.GetEnvironmentString(NameOf(row)));
      return;
    case ReadRule::UserFirstText:
      controls.SetText(*row.control, GetEffectiveString(NameOf(row), row.ticksApplyToAllUsers));
      return;
    case ReadRule::MachineNumber:
      ShowNumber(row, locations_.GetMachineLong(NameOf(row)), loaded);
      return;
    case ReadRule::UserFirstNumber:
      ShowNumber(row, GetEffectiveLong(NameOf(row), row.defaultNumber, row.ticksApplyToAllUsers),
                 loaded);
      return;
    case ReadRule::FirstNonZero:
      LoadFirstNonZero(row);
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

void AdminUtilityMain::ShowNumber(const Setting& row, std::int32_t number, BitSets& loaded) {
  if (row.bitSet) {
    loaded[*row.bitSet] = static_cast<std::uint32_t>(number);
  } else if (DefinitionOf(*row.control).kind == ControlKind::kCheckBox) {
    ports_.controls.SetValue(*row.control, CheckBoxValueOf(number));
  } else {
    ports_.controls.SetText(*row.control, std::to_string(number));
  }
}

// One text under several names: the first name, in load order, that holds a
// text wins, and what that name means goes with it. The boxes start empty
// and the merge combo at "Append", so a name that holds nothing changes
// nothing, and "Append" stays when neither merge name holds a file.
void AdminUtilityMain::LoadFirstNameFound(Rows rows) {
  Controls& controls = ports_.controls;
  for (const Setting* row : rows) {
    const std::string text = GetEffectiveString(NameOf(*row), row->ticksApplyToAllUsers);
    if (text.empty()) continue;
    controls.SetText(*row->control, text);
    if (row->variant.persistent) controls.SetValue(Id::chkPersistent, 1);
    if (row->variant.noWait) controls.SetValue(Id::chkPostActionWait, 0);
    if (!row->variant.mergeCommand.empty()) {
      controls.SetText(Id::cboMergeCommand, std::string(row->variant.mergeCommand));
    }
    return;
  }
}

void AdminUtilityMain::LoadFirstNonZero(const Setting& row) {
  ports_.controls.SetValue(*row.control, CheckBoxValueOf(locations_.FindNonZeroLong(NameOf(row))));
}

void AdminUtilityMain::LoadPassword(const Setting& row) {
  const std::string stored = GetEffectiveString(NameOf(row), row.ticksApplyToAllUsers);
  const PasswordResult password = passwords_.DecryptPassword(stored);
  ports_.controls.SetText(*row.control, password.text);
  if (password.status == PasswordStatus::Ok) return;
  passwordsNotShown_.insert(*row.control);
  Warn(UndecodableWarning(row, password.status));
}

std::string AdminUtilityMain::GetEffectiveString(const std::string& name,
                                                 bool ticksApplyToAllUsers) {
  const Found<std::string> found = locations_.FindString(name);
  ShowWhereFound(found.at, ticksApplyToAllUsers);
  return found.data;
}

std::int32_t AdminUtilityMain::GetEffectiveLong(const std::string& name, std::int32_t defaultValue,
                                                bool ticksApplyToAllUsers) {
  const Found<std::int32_t> found = locations_.FindLong(name, defaultValue);
  ShowWhereFound(found.at, ticksApplyToAllUsers);
  return found.data;
}

// A setting of either scope found only where settings for all users live
// shows that scope, so that Apply keeps it there.
void AdminUtilityMain::ShowWhereFound(FoundAt at, bool ticksApplyToAllUsers) {
  if (ticksApplyToAllUsers && at == FoundAt::MachineKey) {
    ports_.controls.SetValue(Id::chkApplyToAllUsers, 1);
  }
}

}  // namespace quillon
