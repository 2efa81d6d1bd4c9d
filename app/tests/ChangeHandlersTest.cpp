// The four change handlers, reached as the window reaches them: through the
// change notification of a text set on the controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tests/WindowFixture.h"

namespace quillon {
namespace {

using Id = ControlId;

const std::vector<ControlId> kFileNameGroup = {
    Id::txtMergeFile, Id::txtWatermarkFile, Id::cboMergeCommand, Id::cboWatermarkCommand,
    Id::lblAppend,    Id::lblApply,         Id::lblWatermarkFile};
const std::vector<ControlId> kExclusionGroup = {Id::lblWatermark, Id::lblWatermarkPre,
                                                Id::lblWatermarkPost, Id::txtExcludeWatermarkPre,
                                                Id::txtExcludeWatermarkPost};

using EnablingTest = WindowFixture;

TEST_F(EnablingTest, EmptyingTheFileNameGreysItsGroupButKeepsTextsAndPickers) {
  controls.SetText(Id::txtPDFFileName, "C:\\out\\a.pdf");
  controls.SetText(Id::txtMergeFile, "C:\\cover.pdf");
  controls.SetText(Id::cboMergeCommand, "Prepend");
  ASSERT_TRUE(AllEnabled(kFileNameGroup));

  controls.SetText(Id::txtPDFFileName, "");

  EXPECT_TRUE(NoneEnabled(kFileNameGroup));
  EXPECT_EQ(controls.Text(Id::txtMergeFile), "C:\\cover.pdf");
  EXPECT_EQ(controls.Text(Id::cboMergeCommand), "Prepend");
  EXPECT_TRUE(AllEnabled({Id::btnSelectMergeFile, Id::btnSelectWatermarkFile,
                          Id::btnSelectPDFFileName, Id::txtPDFFileName}));
}

TEST_F(EnablingTest, BlanksCountAsAName) {
  controls.SetText(Id::txtPDFFileName, "x");
  controls.SetText(Id::txtPDFFileName, "");
  controls.SetText(Id::txtPDFFileName, " ");
  EXPECT_TRUE(AllEnabled(kFileNameGroup));

  controls.SetText(Id::txtWatermarkFile, " ");
  EXPECT_TRUE(AllEnabled(kExclusionGroup));
}

TEST_F(EnablingTest, WatermarkFileEnablesAndGreysTheExclusion) {
  controls.SetText(Id::txtWatermarkFile, "C:\\mark.pdf");
  EXPECT_TRUE(AllEnabled(kExclusionGroup));

  controls.SetText(Id::txtExcludeWatermarkPre, "2");
  controls.SetText(Id::txtWatermarkFile, "");

  EXPECT_TRUE(NoneEnabled(kExclusionGroup));
  EXPECT_EQ(controls.Text(Id::txtExcludeWatermarkPre), "2");
}

TEST_F(EnablingTest, EmptyingTheFileNameLeavesTheExclusionAsItWas) {
  controls.SetText(Id::txtPDFFileName, "C:\\out\\a.pdf");
  controls.SetText(Id::txtWatermarkFile, "C:\\mark.pdf");

  controls.SetText(Id::txtPDFFileName, "");

  EXPECT_FALSE(controls.Enabled(Id::txtWatermarkFile));
  EXPECT_TRUE(AllEnabled(kExclusionGroup));
}

TEST_F(EnablingTest, CalledDirectlyOnAnEmptyNameItGreys) {
  // The load ends this way even when no notification fired.
  window.txtPDFFileName_Change();
  EXPECT_TRUE(NoneEnabled(kFileNameGroup));
}

TEST_F(EnablingTest, OtherTextBoxesSwitchNothing) {
  controls.SetText(Id::txtMergeFile, "C:\\cover.pdf");
  controls.SetText(Id::txtDefaultWatermarkFile, "C:\\mark.pdf");
  EXPECT_TRUE(AllEnabled(kFileNameGroup));
  EXPECT_TRUE(NoneEnabled(kExclusionGroup));
}

TEST(EnablingAfterWindowGone, NotificationsNoLongerReachIt) {
  SubstitutePlatform platform;
  ControlModel& controls = platform.controls;
  { AdminUtilityMain window(platform.Ports()); }
  controls.SetText(Id::txtPDFFileName, "a.pdf");
  controls.SetText(Id::txtPDFFileName, "");
  EXPECT_TRUE(controls.Enabled(Id::txtMergeFile));
}

struct PageCountCase {
  std::string typed;
  std::string shown;
};

const PageCountCase kPageCountCases[] = {
    {"12a", "0"},  {"a", "0"},      {"", "0"},        {"-", "0"},
    {"   ", "0"},  {"1 2", "0"},    {"-3", "-3"},     {"2.5", "2.5"},
    {" 12 ", " 12 "}, {"1,234", "1,234"}, {"+4", "+4"},
    {"99999999999999999999", "99999999999999999999"},
};

using PageCountTest = WindowFixture;

TEST_F(PageCountTest, EachBoxKeepsNumbersAndTurnsTheRestIntoZero) {
  for (ControlId box : {Id::txtExcludeWatermarkPre, Id::txtExcludeWatermarkPost}) {
    for (const PageCountCase& c : kPageCountCases) {
      controls.SetText(box, "12");
      controls.SetText(box, c.typed);
      EXPECT_EQ(controls.Text(box), c.shown) << ControlName(box) << " typed \"" << c.typed << '"';
    }
  }
}

TEST_F(PageCountTest, TheSecondNotificationFromZeroEndsTheRound) {
  controls.SetText(Id::txtExcludeWatermarkPost, "12");
  controls.raisedChanges.clear();

  controls.SetText(Id::txtExcludeWatermarkPost, "12x");

  EXPECT_EQ(controls.Text(Id::txtExcludeWatermarkPost), "0");
  EXPECT_EQ(controls.raisedChanges,
            (std::vector<ControlId>{Id::txtExcludeWatermarkPost, Id::txtExcludeWatermarkPost}));
}

TEST_F(PageCountTest, AnEmptyBoxRefillsWhileTheOtherStays) {
  controls.SetText(Id::txtExcludeWatermarkPre, "3");
  controls.SetText(Id::txtExcludeWatermarkPost, "");
  EXPECT_EQ(controls.Text(Id::txtExcludeWatermarkPost), "0");
  EXPECT_EQ(controls.Text(Id::txtExcludeWatermarkPre), "3");
}

TEST(PageCountInCommaLocale, UsesTheLocaleSeparators) {
  SubstitutePlatform platform;
  ControlModel& controls = platform.controls;
  AdminUtilityPorts ports = platform.Ports();
  ports.numberSeparators = {.decimal = ",", .group = "."};
  AdminUtilityMain window(ports);
  const PageCountCase cases[] = {
      {"2,5", "2,5"}, {"1.234,5", "1.234,5"}, {"1,234.5", "0"}, {"2,5,1", "0"}, {"12.", "0"}};
  for (const PageCountCase& c : cases) {
    controls.SetText(Id::txtExcludeWatermarkPre, c.typed);
    EXPECT_EQ(controls.Text(Id::txtExcludeWatermarkPre), c.shown) << '"' << c.typed << '"';
  }
}

}  // namespace
}  // namespace quillon
