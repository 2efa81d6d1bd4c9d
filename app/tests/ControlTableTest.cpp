// Integrity of the controls table: a long table hides exactly the mistakes
// checked here (a control twice, a wrong kind, a tab order used twice, a
// control outside the window, a list or created state mistyped).
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/ControlTable.h"

namespace quillon {
namespace {

using Id = ControlId;

std::vector<Id> IdsWhere(bool (*condition)(const ControlSpec&)) {
  std::vector<Id> ids;
  for (const ControlSpec& spec : ControlTable()) {
    if (condition(spec)) ids.push_back(spec.id);
  }
  return ids;
}

TEST(ControlTable, HoldsEachControlOnceUnderAUniqueName) {
  ASSERT_EQ(ControlTable().size(), kControlCount);
  std::set<std::string_view> names;
  for (std::size_t index = 0; index < kControlCount; ++index) {
    const ControlSpec& spec = ControlTable()[index];
    EXPECT_EQ(IndexOf(spec.id), index);
    EXPECT_EQ(&SpecOf(spec.id), &spec);
    names.insert(ControlName(spec.id));
  }
  names.insert(kTabControl.name);
  names.insert(kMainWindow.name);
  EXPECT_EQ(names.size(), kControlCount + 2);
}

TEST(ControlTable, PagesHoldTheirControlCounts) {
  const std::map<std::optional<Page>, int> expected = {
      {std::nullopt, 2},      {Page::kFileSave, 15},        {Page::kEmail, 9},
      {Page::kFileName, 25},  {Page::kTroubleshooting, 15}, {Page::kSecurity, 18}};
  std::map<std::optional<Page>, int> counted;
  for (const ControlSpec& spec : ControlTable()) ++counted[spec.page];
  EXPECT_EQ(counted, expected);
  EXPECT_EQ(SpecOf(Id::btnApply).page, std::nullopt);
  EXPECT_EQ(SpecOf(Id::Command2).page, std::nullopt);
}

TEST(ControlTable, KindFollowsTheNamePrefix) {
  const std::vector<std::pair<std::string_view, ControlKind>> prefixes = {
      {"txt", ControlKind::kTextBox}, {"chk", ControlKind::kCheckBox},
      {"cbo", ControlKind::kComboBox}, {"btn", ControlKind::kButton},
      {"Command", ControlKind::kButton}, {"lbl", ControlKind::kLabel},
      {"Label", ControlKind::kLabel}};
  for (const ControlSpec& spec : ControlTable()) {
    const std::string_view name = ControlName(spec.id);
    int matches = 0;
    for (const auto& [prefix, kind] : prefixes) {
      if (!name.starts_with(prefix)) continue;
      ++matches;
      EXPECT_EQ(spec.kind, kind) << name;
    }
    EXPECT_EQ(matches, 1) << name;
  }
}

TEST(ControlTable, TabOrderIsUniqueAndStartsWithApplyCancelAndTheTabs) {
  std::multiset<int> orders = {kTabControl.tabOrder};
  for (const ControlSpec& spec : ControlTable()) {
    const bool isLabel = spec.kind == ControlKind::kLabel;
    EXPECT_EQ(spec.tabOrder.has_value(), !isLabel) << ControlName(spec.id);
    if (spec.tabOrder) orders.insert(*spec.tabOrder);
  }
  EXPECT_EQ(std::set<int>(orders.begin(), orders.end()).size(), orders.size());
  EXPECT_EQ(SpecOf(Id::btnApply).tabOrder, 0);
  EXPECT_EQ(SpecOf(Id::Command2).tabOrder, 1);
  EXPECT_EQ(kTabControl.tabOrder, 2);
}

TEST(ControlTable, EveryControlLiesInsideTheClientArea) {
  for (const ControlSpec& spec : ControlTable()) {
    const TwipsRect& r = spec.rect;
    EXPECT_GE(r.left, 0) << ControlName(spec.id);
    EXPECT_GE(r.top, 0) << ControlName(spec.id);
    EXPECT_GT(r.width, 0) << ControlName(spec.id);
    EXPECT_GT(r.height, 0) << ControlName(spec.id);
    EXPECT_LE(r.left + r.width, kMainWindow.clientWidth) << ControlName(spec.id);
    EXPECT_LE(r.top + r.height, kMainWindow.clientHeight) << ControlName(spec.id);
  }
}

TEST(ControlTable, OnlyTheSixCombosHaveTheirLists) {
  using List = std::vector<std::string_view>;
  const std::map<Id, List> expected = {
      {Id::cboMergeCommand, {"Append", "Prepend", "Overlay"}},
      {Id::cboWatermarkCommand, {"Foreground", "Background"}},
      {Id::cboEncryptLevel,
       {"", "No Encryption", "40 Bit Encryption", "128 Bit Encryption", "256 Bit Encryption"}},
      {Id::cboPrintPermission, {"", "Allow printing", "Prevent printing"}},
      {Id::cboCopyPermission, {"", "Allow copying", "Prevent copying"}},
      {Id::cboModifyPermission, {"", "Allow modification", "Prevent modification"}}};
  std::map<Id, List> listed;
  for (const ControlSpec& spec : ControlTable()) {
    EXPECT_EQ(spec.kind == ControlKind::kComboBox, expected.contains(spec.id))
        << ControlName(spec.id);
    if (!spec.listItems.empty()) listed[spec.id] = List(spec.listItems.begin(), spec.listItems.end());
  }
  EXPECT_EQ(listed, expected);
}

TEST(ControlTable, CreatedStateGreysTheExclusionAndHidesPersistent) {
  const std::vector<Id> disabled = {Id::lblWatermark, Id::txtExcludeWatermarkPre,
                                    Id::lblWatermarkPre, Id::txtExcludeWatermarkPost,
                                    Id::lblWatermarkPost};
  EXPECT_EQ(IdsWhere([](const ControlSpec& s) { return !s.created.enabled; }), disabled);
  EXPECT_EQ(IdsWhere([](const ControlSpec& s) { return !s.created.visible; }),
            std::vector<Id>{Id::chkPersistent});
  EXPECT_EQ(IdsWhere([](const ControlSpec& s) { return s.created.passwordChar != '\0'; }),
            (std::vector<Id>{Id::txtUserPass, Id::txtMasterPass}));
  EXPECT_EQ(SpecOf(Id::txtUserPass).created.passwordChar, '*');
  EXPECT_EQ(SpecOf(Id::txtMasterPass).created.passwordChar, '*');
}

TEST(ControlTable, CreatedTextsAreEmptyButForTheCombosAndPageCounts) {
  const std::map<Id, std::string_view> expected = {{Id::cboMergeCommand, "Append"},
                                                   {Id::cboWatermarkCommand, "Background"},
                                                   {Id::txtExcludeWatermarkPre, "0"},
                                                   {Id::txtExcludeWatermarkPost, "0"}};
  std::map<Id, std::string_view> texts;
  for (const ControlSpec& spec : ControlTable()) {
    if (!spec.created.text.empty()) texts[spec.id] = spec.created.text;
  }
  EXPECT_EQ(texts, expected);
}

TEST(ControlTable, OnlyLabelsChecksAndButtonsHaveCaptions) {
  for (const ControlSpec& spec : ControlTable()) {
    const bool editable =
        spec.kind == ControlKind::kTextBox || spec.kind == ControlKind::kComboBox;
    EXPECT_EQ(spec.caption.empty(), editable) << ControlName(spec.id);
  }
}

TEST(ControlTable, CaptionsAndToolTipsKeepTheirBlanksAndQuotes) {
  EXPECT_EQ(SpecOf(Id::chkUserPassEnabled).caption, "Allow user password  to be changed");
  EXPECT_EQ(SpecOf(Id::chkMasterPassEnabled).caption, "Allow master password to be changed");
  EXPECT_EQ(SpecOf(Id::chkDisableAppendReplace).caption,
            "Disable append window \"Replace\" button");
  EXPECT_EQ(SpecOf(Id::chkChangeWatermark).caption, "Disable \"Change...\" watermark");
  EXPECT_EQ(SpecOf(Id::chkChangeWatermark).toolTip,
            "Prevent users from changing the watermark file from the \"PDF Options...\" window");
  EXPECT_EQ(SpecOf(Id::txtDefaultPath).toolTip,
            "The folder displayed in the file save window the first time Quillon is used.  After "
            "the first display, Quillon saves and restores the last used folder on a per "
            "application basis.");
  EXPECT_EQ(SpecOf(Id::Label1).toolTip,
            "Places word following Search Word in a variable named %PDFAutoNameContentSearch%.");
  EXPECT_EQ(SpecOf(Id::Command2).caption, "Cancel");
}

}  // namespace
}  // namespace quillon
