#pragma once
// A main window over the in-memory controls and substitutes for the rest of
// the platform, in a locale with a decimal point and comma-grouped digits,
// in its created state: nothing is loaded.
#include <gtest/gtest.h>

#include <vector>

#include "app/tests/SubstitutePlatform.h"

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

  SubstitutePlatform platform;
  ControlModel& controls = platform.controls;
  RecordedOpenFileDialog& dialog = platform.dialog;
  AdminUtilityMain window{platform.Ports()};
};

}  // namespace quillon
