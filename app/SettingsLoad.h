#pragma once
// The load: every value of the catalogue read into the window, in the load's
// order, once, before the window is first shown.
#include <cstdint>
#include <set>
#include <span>
#include <string>

#include "app/ControlId.h"
#include "app/Controls.h"
#include "app/SettingsCatalogue.h"
#include "crypto/StoredPassword.h"
#include "platform/MessageBoxes.h"
#include "settings/SettingLocations.h"

namespace quillon {

class SettingsLoad {
 public:
  SettingsLoad(Controls& controls, SettingLocations& locations, StoredPasswordCodec& passwords,
               MessageBoxes& messageBoxes);

  // Fills the controls. Returns the password boxes left empty because their
  // stored password could not be decoded, each said in a warning.
  std::set<ControlId> Run();

  // A setting stored at more than one place, found as SettingLocations finds
  // it. Found only at the machine key, and asked to, it ticks
  // chkApplyToAllUsers: the setting was stored for all users.
  std::string GetEffectiveString(const std::string& name, bool ticksApplyToAllUsers);
  std::int32_t GetEffectiveLong(const std::string& name, std::int32_t defaultValue,
                                bool ticksApplyToAllUsers);

 private:
  using Rows = std::span<const Setting* const>;

  void LoadSetting(Rows rows, BitSets& loaded);
  void ShowNumber(const Setting& row, std::int32_t number, BitSets& loaded);
  void LoadFirstNameFound(Rows rows);
  void LoadPassword(const Setting& row);
  void ShowWhereFound(FoundAt at, bool ticksApplyToAllUsers);

  Controls& controls_;
  SettingLocations& locations_;
  StoredPasswordCodec& passwords_;
  MessageBoxes& messageBoxes_;
  std::set<ControlId> passwordsNotShown_;
};

}  // namespace quillon
