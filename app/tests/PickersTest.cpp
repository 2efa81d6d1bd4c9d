// The four "..." pickers and Cancel: what each asks the dialog, where a
// confirmed path lands, and that a cancelled dialog changes nothing.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/tests/WindowFixture.h"

namespace quillon {
namespace {

using Id = ControlId;
using WindowCall = ControlModel::WindowCall;

struct PickerCase {
  void (AdminUtilityMain::*handler)();
  ControlId button;
  std::string title;
  unsigned flags;
  ControlId target;
};

const PickerCase kPickerCases[] = {
    {&AdminUtilityMain::btnSelectPDFFileName_Click, Id::btnSelectPDFFileName,
     "Select the PDF file", 0x20004, Id::txtPDFFileName},
    {&AdminUtilityMain::btnSelectMergeFile_Click, Id::btnSelectMergeFile,
     "Select the PDF file to merge", 0x20004, Id::txtMergeFile},
    {&AdminUtilityMain::btnSelectWatermarkFile_Click, Id::btnSelectWatermarkFile,
     "Select the Watermark PDF file", 0x20004, Id::txtWatermarkFile},
    {&AdminUtilityMain::btnSelectWatermark_Click, Id::btnSelectWatermark,
     "Select a watermark PDF file", 0x21004, Id::txtDefaultWatermarkFile},
};

using PickerTest = WindowFixture;

TEST_F(PickerTest, EachAsksWithItsTitleAndFlagsAndFillsItsTarget) {
  for (const PickerCase& c : kPickerCases) {
    const std::string chosen = "C:\\Docs\\" + std::string(ControlName(c.target)) + ".pdf";
    dialog.requests.clear();
    dialog.answers = {chosen};

    (window.*c.handler)();

    ASSERT_EQ(dialog.requests.size(), 1u) << ControlName(c.button);
    EXPECT_EQ(dialog.requests[0].title, c.title);
    EXPECT_EQ(dialog.requests[0].flags, c.flags) << c.title;
    EXPECT_EQ(controls.Text(c.target), chosen);
  }
}

TEST_F(PickerTest, ClickOnEachButtonRunsItsPicker) {
  for (const PickerCase& c : kPickerCases) {
    dialog.requests.clear();
    window.Click(c.button);
    ASSERT_EQ(dialog.requests.size(), 1u) << ControlName(c.button);
    EXPECT_EQ(dialog.requests[0].title, c.title);
  }
}

TEST_F(PickerTest, CancelLeavesEveryTargetExactlyAsItWas) {
  for (const PickerCase& c : kPickerCases) {
    controls.SetText(c.target, " kept  text ");
    controls.raisedChanges.clear();
    dialog.answers = {std::nullopt};

    (window.*c.handler)();

    EXPECT_EQ(controls.Text(c.target), " kept  text ") << c.title;
    EXPECT_TRUE(controls.raisedChanges.empty()) << c.title;
  }
}

TEST_F(PickerTest, ChosenFileNameRaisesTheEnabling) {
  controls.SetText(Id::txtPDFFileName, "x");
  controls.SetText(Id::txtPDFFileName, "");
  ASSERT_FALSE(controls.Enabled(Id::txtMergeFile));

  dialog.answers = {"C:\\out\\a.pdf"};
  window.btnSelectPDFFileName_Click();
  EXPECT_TRUE(controls.Enabled(Id::txtMergeFile));

  dialog.answers = {"C:\\mark.pdf"};
  window.btnSelectWatermarkFile_Click();
  EXPECT_TRUE(controls.Enabled(Id::txtExcludeWatermarkPre));
  EXPECT_TRUE(controls.Enabled(Id::lblWatermark));
}

TEST_F(PickerTest, FileLandsInAGreyedTextBox) {
  window.txtPDFFileName_Change();
  ASSERT_FALSE(controls.Enabled(Id::txtWatermarkFile));

  dialog.answers = {"C:\\mark.pdf"};
  window.btnSelectWatermarkFile_Click();

  EXPECT_EQ(controls.Text(Id::txtWatermarkFile), "C:\\mark.pdf");
  EXPECT_FALSE(controls.Enabled(Id::txtWatermarkFile));
}

using CancelButtonTest = WindowFixture;

TEST_F(CancelButtonTest, ClosesTheWindowAndDoesNothingElse) {
  window.Click(Id::Command2);
  EXPECT_EQ(controls.windowCalls, std::vector<WindowCall>{WindowCall::kClose});
  EXPECT_TRUE(dialog.requests.empty());
}

}  // namespace
}  // namespace quillon
