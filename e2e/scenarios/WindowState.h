#pragma once
// What the window shows as a whole: the text of every text box and combo box
// and the value of every check box. Scenarios state what they expect as the
// state of a load from an empty registry with their own changes on top, and
// compare it with the window control by control.
#include <map>
#include <span>
#include <string>

#include "app/ControlId.h"
#include "e2e/driver/UtilityWindow.h"

namespace quillon::e2e {

// The controls greyed while there is no PDF file name, and those greyed
// while there is no watermark file.
inline constexpr ControlId kFileNameGroup[] = {
    ControlId::txtMergeFile,        ControlId::txtWatermarkFile, ControlId::cboMergeCommand,
    ControlId::cboWatermarkCommand, ControlId::lblAppend,        ControlId::lblApply,
    ControlId::lblWatermarkFile};
inline constexpr ControlId kWatermarkExclusionGroup[] = {
    ControlId::lblWatermark, ControlId::lblWatermarkPre, ControlId::lblWatermarkPost,
    ControlId::txtExcludeWatermarkPre, ControlId::txtExcludeWatermarkPost};

// Adds a failure naming each control of the group whose enabled state is not
// `enabled`.
void ExpectGroupEnabled(std::span<const ControlId> group, bool enabled,
                        const UtilityWindow& window);

struct WindowState {
  std::map<ControlId, std::string> texts;  // text boxes and combo boxes
  std::map<ControlId, int> checks;         // check boxes: 0, 1 or 2

  static WindowState AfterCleanLoad();
  static WindowState ReadFrom(const UtilityWindow& window);
};

// Adds one failure listing every control that shows something else.
void ExpectWindowShows(const WindowState& expected, const UtilityWindow& window);

}  // namespace quillon::e2e
