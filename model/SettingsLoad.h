#pragma once
// The load: every value of the catalogue read into the window, in the load's
// order, once, before the window is first shown.
#include <span>
#include <string>

#include "model/Controls.h"
#include "model/LoadRecord.h"
#include "model/SettingsCatalogue.h"
#include "crypto/StoredPassword.h"
#include "platform/MessageBoxes.h"
#include "settings/SettingLocations.h"

namespace quillon {

class SettingsLoad {
 public:
  // `locations` reads at `depth`: with every copy, the names of a setting
  // after the one that gave its control a value are read too.
  SettingsLoad(Controls& controls, SettingLocations& locations, LookDepth depth,
               StoredPasswordCodec& passwords, MessageBoxes& messageBoxes);

  // Fills the controls, and says what it decided: where each value came
  // from, and the password boxes it left empty because their stored password
  // could not be decoded, each said in a warning.
  LoadRecord Run();

 private:
  using Rows = std::span<const Setting* const>;

  void LoadSetting(Rows rows, BitSets& loaded);
  void ShowNumber(const Setting& row, std::int32_t number, BitSets& loaded);
  void LoadFirstNameFound(Rows rows);
  void LoadPassword(const Setting& row);
  // Notes what was found for the row and gives its data. A copy taken at the
  // machine key of a row that says so ticks chkApplyToAllUsers: the setting
  // was stored for all users.
  template <typename Data>
  Data TakeAndTickScope(const Setting& row, Found<Data> found);
  void NotePassedOver(const Setting& row, Found<std::string> found);
  void NoteUnreadRows();

  Controls& controls_;
  SettingLocations& locations_;
  LookDepth depth_;
  StoredPasswordCodec& passwords_;
  MessageBoxes& messageBoxes_;
  LoadRecord record_;
};

}  // namespace quillon
