// The window after a load from an empty registry, and the comparison.
#include "e2e/scenarios/WindowState.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/ControlTable.h"

namespace quillon::e2e {
namespace {

using Id = ControlId;

// What an empty registry leaves in the fields that are not empty then.
const std::map<ControlId, std::string> kCleanTexts = {
    {Id::cboMergeCommand, "Append"},      {Id::cboWatermarkCommand, "Background"},
    {Id::txtExcludeWatermarkPre, "0"},    {Id::txtExcludeWatermarkPost, "0"},
    {Id::txtAutoMergeInterval, "2000"},   {Id::txtAppendErrorRetryCount, "4"},
    {Id::txtCopyErrorRetryCount, "10"},   {Id::txtRenameErrorRetryCount, "4"},
    {Id::txtDeleteErrorRetryCount, "10"},
};

// Ticked by an empty registry: the boxes whose bit of "disabled options"
// means "not allowed", the wait for the post action, and the hidden
// persistence box that every load ticks.
constexpr ControlId kCleanTicks[] = {
    Id::chkUserPassEnabled, Id::chkMasterPassEnabled, Id::chkEncryptLevelEnabled,
    Id::chkPrintEnabled,    Id::chkCopyEnabled,       Id::chkModifyEnabled,
    Id::chkPostActionWait,  Id::chkPersistent,
};

bool HasText(ControlKind kind) {
  return kind == ControlKind::kTextBox || kind == ControlKind::kComboBox;
}

}  // namespace

WindowState WindowState::AfterCleanLoad() {
  WindowState state;
  for (const ControlDefinition& row : ControlTable()) {
    if (HasText(row.kind)) {
      const auto clean = kCleanTexts.find(row.id);
      state.texts[row.id] = clean == kCleanTexts.end() ? "" : clean->second;
    } else if (row.kind == ControlKind::kCheckBox) {
      state.checks[row.id] = 0;
    }
  }
  for (const ControlId ticked : kCleanTicks) state.checks[ticked] = 1;
  return state;
}

WindowState WindowState::ReadFrom(const UtilityWindow& window) {
  WindowState state;
  for (const ControlDefinition& row : ControlTable()) {
    if (HasText(row.kind)) state.texts[row.id] = window.Text(row.id);
    if (row.kind == ControlKind::kCheckBox) state.checks[row.id] = window.Check(row.id);
  }
  return state;
}

void ExpectGroupEnabled(std::span<const ControlId> group, bool enabled,
                        const UtilityWindow& window) {
  for (const ControlId id : group) {
    EXPECT_EQ(window.Enabled(id), enabled)
        << ControlName(id) << (enabled ? " is greyed" : " is not greyed");
  }
}

void ExpectWindowShows(const WindowState& expected, const UtilityWindow& window) {
  const WindowState shown = WindowState::ReadFrom(window);
  std::ostringstream differences;
  for (const auto& [id, text] : expected.texts) {
    if (shown.texts.at(id) != text) {
      differences << "  " << ControlName(id) << " shows \"" << shown.texts.at(id)
                  << "\", expected \"" << text << "\"\n";
    }
  }
  for (const auto& [id, check] : expected.checks) {
    if (shown.checks.at(id) != check) {
      differences << "  " << ControlName(id) << " is " << shown.checks.at(id) << ", expected "
                  << check << "\n";
    }
  }
  EXPECT_TRUE(differences.str().empty()) << "the window shows something else:\n"
                                         << differences.str();
}

}  // namespace quillon::e2e
