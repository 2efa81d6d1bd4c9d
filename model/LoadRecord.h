#pragma once
// What the load decided, noted as it decided it: for each value it read, the
// copy it took, what it made of every other copy it looked at, and whether
// that copy ticked "Apply to all users". The window ignores it; a diagnosis
// renders it rather than guessing the load's rules from registry traffic.
#include <algorithm>
#include <set>
#include <vector>

#include "model/ControlId.h"
#include "model/SettingsCatalogue.h"
#include "settings/SettingLocations.h"

namespace quillon {

struct ValueRecord {
  const Setting* row;
  // The copy the control's value was taken from; Nowhere when this name gave
  // the control nothing (its default, or another name's value).
  FoundAt taken = FoundAt::Nowhere;
  std::vector<Look> looks;  // in the order the load looked
  bool ticksApplyToAllUsers = false;
};

struct LoadRecord {
  std::vector<ValueRecord> values;  // in the load's order
  // Password boxes left empty because their stored password could not be decoded.
  std::set<ControlId> passwordsNotShown;
  // The view the load read each key's number in first.
  RegistryView firstNumberView = RegistryView::Default;

  const ValueRecord* Of(const Setting& row) const {
    const auto found = std::ranges::find(values, &row, &ValueRecord::row);
    return found == values.end() ? nullptr : &*found;
  }
  // Whether any setting came from the registry rather than its default.
  bool FoundAnySetting() const {
    return std::ranges::any_of(
        values, [](const ValueRecord& value) { return value.taken != FoundAt::Nowhere; });
  }
};

}  // namespace quillon
