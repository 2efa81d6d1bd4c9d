// Closing without Apply: Cancel, the close box and Alt+F4 end the program
// and leave the registry exactly as it was, whatever was edited; Esc does
// nothing at all.
#include <functional>

#include "e2e/scenarios/Scenario.h"
#include "e2e/scenarios/WindowEntries.h"

namespace quillon::e2e {
namespace {

using Id = ControlId;
using enum Location;

// Long enough for a key to have done whatever it does.
constexpr Milliseconds kKeySettleSpan{1500};

struct WayOut {
  const char* name;
  std::function<void(UtilityWindow&)> close;
};

void PrintTo(const WayOut& wayOut, std::ostream* out) { *out << wayOut.name; }

class ClosingWithoutApply : public Scenario, public ::testing::WithParamInterface<WayOut> {};

TEST_P(ClosingWithoutApply, EndsTheProgramAndWritesNothing) {
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFWatermarkFile", "C:\\draft.pdf"));
  ASSERT_TRUE(registry::SeedNumber(kUser, "auto merge interval", 500));
  ASSERT_TRUE(registry::Seed(kEnvironment, "QUILLONTEMP", RegValue::Text("C:\\Temp")));
  ASSERT_TRUE(Open());
  const StoredValues before = ReadStoredValues();
  ASSERT_TRUE(Enter(Window(), std::vector<Entry>{{Id::txtPDFFileName, "C:\\new.pdf"},
                                                 {Id::txtWatermarkFile, ""},
                                                 {Id::txtAutoMergeInterval, "900"},
                                                 {Id::txtQuillonTEMP, ""},
                                                 {Id::chkSendPDF, "1"},
                                                 {Id::txtUserPass, kUserPassword.plain},
                                                 {Id::chkApplyToAllUsers, "0"}}));
  GetParam().close(Window());
  ASSERT_TRUE(Process().WaitForEnd(std::string("closed by ") + GetParam().name));
  ExpectStoredValues(before, ReadStoredValues());
  EXPECT_TRUE(settingChanges_.Sections().empty()) << "a setting change was broadcast";
}

INSTANTIATE_TEST_SUITE_P(
    WaysOut, ClosingWithoutApply,
    ::testing::Values(
        WayOut{"Cancel", [](UtilityWindow& window) { EXPECT_TRUE(window.Press(Id::Command2)); }},
        WayOut{"CloseBox", [](UtilityWindow& window) { window.PressCloseBox(); }},
        // To whatever has the keyboard focus, the window itself when nothing does.
        WayOut{"AltF4",
               [](UtilityWindow& window) {
                 const HWND focus = window.KeyboardFocus();
                 window.PressKey(focus ? focus : window.Handle(), VK_F4, /*withAlt=*/true);
               }}),
    [](const ::testing::TestParamInfo<WayOut>& tested) { return tested.param.name; });

class Closing : public Scenario {};

TEST_F(Closing, EscOnTheOpeningWindowDoesNothing) {
  ASSERT_TRUE(Open());
  const HWND focus = Window().KeyboardFocus();
  ASSERT_EQ(focus, Window().Control(Id::btnApply));
  Window().PressKey(focus, VK_ESCAPE);
  EXPECT_TRUE(HoldsThroughout([&] { return Window().IsOpen(); }, kKeySettleSpan))
      << "Esc closed the window";
  ExpectNoBox("Esc");
  EXPECT_EQ(registry::ReadAll(kMachine), ValueMap{});
  EXPECT_TRUE(CancelAndEnd());
}

}  // namespace
}  // namespace quillon::e2e
