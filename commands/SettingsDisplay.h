#pragma once
// How the settings are named and shown to an administrator in the report and
// the check: under the window's pages and captions, values as the window
// shows them (bit sets as the boxes they tick, passwords only as set or not),
// keys by their short names and views.
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/Captions.h"
#include "model/ControlId.h"
#include "model/Controls.h"
#include "model/SettingsCatalogue.h"
#include "settings/RecordingRegistry.h"
#include "settings/Registry.h"
#include "settings/SettingLocations.h"
#include "settings/Spelling.h"

namespace quillon {

// "HKLM\Software\Marrowby\Quillon (64-bit view)"
std::string KeyName(FoundAt at, WindowsWidth width);

// "Cannot check: HKCU\Software\Marrowby\Quillon could not be read (error 5)."
std::string CannotCheck(const ReadFailure& failure, WindowsWidth width);

// What one control shows: its text in quotes, or a box's state.
std::string ShownIn(const Controls& controls, ControlId id);
// What a row's control or bit set shows.
std::string ShownFor(const Controls& controls, const Setting& row,
                     const std::set<ControlId>& passwordsNotShown);

// The rows under the control that shows them, in the order of the pages and
// their tab order; rows no control shows come last.
std::vector<const Setting*> InPageOrder();

// "1 setting", "3 settings".
inline std::string Count(std::size_t number, const std::string& thing) {
  return std::to_string(number) + " " + thing + (number == 1 ? "" : "s");
}
std::string PageTitle(const Setting& row);

}  // namespace quillon
