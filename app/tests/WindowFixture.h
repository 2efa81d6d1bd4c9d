#pragma once
// A main window over the in-memory controls and a recording file dialog, in a
// locale with a decimal point and comma-grouped digits.
#include <gtest/gtest.h>

#include <vector>

#include "app/AdminUtilityMain.h"
#include "app/substitute/ControlModel.h"
#include "app/substitute/RecordedOpenFileDialog.h"

namespace quillon {

class WindowFixture : public ::testing::Test {
 protected:
  bool AllEnabled(const std::vector<ControlId>& ids) const {
    for (ControlId id : ids) {
      if (!controls.Enabled(id)) return false;
    }
    return true;
  }

  bool NoneEnabled(const std::vector<ControlId>& ids) const {
    for (ControlId id : ids) {
      if (controls.Enabled(id)) return false;
    }
    return true;
  }

  ControlModel controls;
  RecordedOpenFileDialog dialog;
  AdminUtilityMain window{{.controls = controls,
                           .openFileDialog = dialog,
                           .numberSeparators = {.decimal = ".", .group = ","}}};
};

}  // namespace quillon
