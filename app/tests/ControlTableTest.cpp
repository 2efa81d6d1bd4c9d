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

TEST(ControlTable, EveryRowIsConsistentInItself) {
  ASSERT_EQ(ControlTable().size(), kControlCount);
  const std::pair<std::string_view, ControlKind> prefixes[] = {
      {"txt", ControlKind::kTextBox},  {"chk", ControlKind::kCheckBox},
      {"cbo", ControlKind::kComboBox}, {"btn", ControlKind::kButton},
      {"Command", ControlKind::kButton}, {"lbl", ControlKind::kLabel},
      {"Label", ControlKind::kLabel}};
  std::set<std::string_view> names = {kTabControl.name, kMainWindow.name};
  std::set<int> tabOrders = {kTabControl.tabOrder};
  for (std::size_t index = 0; index < kControlCount; ++index) {
    const ControlDefinition& definition = ControlTable()[index];
    const std::string_view name = ControlName(definition.id);
    SCOPED_TRACE(name);
    EXPECT_EQ(IndexOf(definition.id), index);
    EXPECT_EQ(&DefinitionOf(definition.id), &definition);
    EXPECT_TRUE(names.insert(name).second);
    int matches = 0;
    for (const auto& [prefix, kind] : prefixes) {
      if (!name.starts_with(prefix)) continue;
      ++matches;
      EXPECT_EQ(definition.kind, kind);
    }
    EXPECT_EQ(matches, 1);
    EXPECT_EQ(definition.tabOrder.has_value(), definition.kind != ControlKind::kLabel);
    EXPECT_TRUE(!definition.tabOrder || tabOrders.insert(*definition.tabOrder).second);
    const bool editable = definition.kind == ControlKind::kTextBox || definition.kind == ControlKind::kComboBox;
    EXPECT_EQ(definition.caption.empty(), editable);
    EXPECT_EQ(definition.listItems.empty(), definition.kind != ControlKind::kComboBox);
    const TwipsRect& r = definition.rect;
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0);
    EXPECT_LE(r.left + r.width, kMainWindow.clientWidth);
    EXPECT_LE(r.top + r.height, kMainWindow.clientHeight);
  }
  EXPECT_EQ(DefinitionOf(Id::btnApply).tabOrder, 0);
  EXPECT_EQ(DefinitionOf(Id::Command2).tabOrder, 1);
  EXPECT_EQ(kTabControl.tabOrder, 2);
}

TEST(ControlTable, PagesHoldTheirControlCounts) {
  const std::map<std::optional<Page>, int> expected = {
      {std::nullopt, 2},      {Page::kFileSave, 15},        {Page::kEmail, 9},
      {Page::kFileName, 25},  {Page::kTroubleshooting, 15}, {Page::kSecurity, 18}};
  std::map<std::optional<Page>, int> counted;
  for (const ControlDefinition& definition : ControlTable()) ++counted[definition.page];
  EXPECT_EQ(counted, expected);
}

TEST(ControlTable, ListsAndCreatedStatesAreTheWindowsOwn) {
  using List = std::vector<std::string_view>;
  const std::map<Id, List> lists = {
      {Id::cboMergeCommand, {"Append", "Prepend", "Overlay"}},
      {Id::cboWatermarkCommand, {"Foreground", "Background"}},
      {Id::cboEncryptLevel,
       {"", "No Encryption", "40 Bit Encryption", "128 Bit Encryption", "256 Bit Encryption"}},
      {Id::cboPrintPermission, {"", "Allow printing", "Prevent printing"}},
      {Id::cboCopyPermission, {"", "Allow copying", "Prevent copying"}},
      {Id::cboModifyPermission, {"", "Allow modification", "Prevent modification"}}};
  const std::map<Id, std::string_view> texts = {{Id::cboMergeCommand, "Append"},
                                                {Id::cboWatermarkCommand, "Background"},
                                                {Id::txtExcludeWatermarkPre, "0"},
                                                {Id::txtExcludeWatermarkPost, "0"}};
  const std::set<Id> disabled = {Id::lblWatermark, Id::txtExcludeWatermarkPre, Id::lblWatermarkPre,
                                 Id::txtExcludeWatermarkPost, Id::lblWatermarkPost};
  for (const ControlDefinition& definition : ControlTable()) {
    SCOPED_TRACE(ControlName(definition.id));
    const auto list = lists.find(definition.id);
    EXPECT_EQ(List(definition.listItems.begin(), definition.listItems.end()),
              list == lists.end() ? List{} : list->second);
    const auto text = texts.find(definition.id);
    EXPECT_EQ(definition.created.text, text == texts.end() ? "" : text->second);
    EXPECT_EQ(definition.created.enabled, !disabled.contains(definition.id));
    EXPECT_EQ(definition.created.visible, definition.id != Id::chkPersistent);
    const bool password = definition.id == Id::txtUserPass || definition.id == Id::txtMasterPass;
    EXPECT_EQ(definition.created.passwordChar, password ? '*' : '\0');
  }
}

TEST(ControlTable, CaptionsAndToolTipsKeepTheirBlanksAndQuotes) {
  const std::pair<std::string_view, std::string_view> texts[] = {
      {DefinitionOf(Id::chkUserPassEnabled).caption, "Allow user password  to be changed"},
      {DefinitionOf(Id::chkDisableAppendReplace).caption, "Disable append window \"Replace\" button"},
      {DefinitionOf(Id::chkChangeWatermark).toolTip,
       "Prevent users from changing the watermark file from the \"PDF Options...\" window"},
      {DefinitionOf(Id::txtDefaultPath).toolTip,
       "The folder displayed in the file save window the first time Quillon is used.  After the "
       "first display, Quillon saves and restores the last used folder on a per application "
       "basis."},
      {DefinitionOf(Id::Label1).toolTip,
       "Places word following Search Word in a variable named %PDFAutoNameContentSearch%."}};
  for (const auto& [text, expected] : texts) EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace quillon
