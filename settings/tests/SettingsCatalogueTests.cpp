// Integrity of the settings catalogue and its bit tables: a long table hides
// exactly the mistakes checked here (a name twice, a control shared by two
// settings, the rows of one setting torn apart, a load step read twice, a
// number box without a label to name it, a bit used twice).
#include "app/SettingsCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace quillon {
namespace {

// Rows that share a control must be one setting, standing together in the
// given order.
template <typename RuleOf>
void ExpectEachControlInOneRun(std::span<const Setting* const> rows, RuleOf ruleOf) {
  std::set<ControlId> finished;
  std::optional<ControlId> current;
  for (const Setting* row : rows) {
    if (!row->control) continue;
    if (current != row->control) {
      EXPECT_FALSE(finished.contains(*row->control)) << row->name << " is torn from its setting";
      if (current) finished.insert(*current);
      current = row->control;
    }
  }
  ForEachSetting(rows, ruleOf, [](std::span<const Setting* const> setting) {
    for (const Setting* row : setting) {
      EXPECT_EQ(row->control, setting.front()->control) << row->name;
    }
  });
}

TEST(SettingsCatalogue, NamesAreUniquePerPlaceAndSettingsStandTogether) {
  std::set<std::pair<std::string_view, bool>> seen;  // name, at the save dialog key
  for (const Setting& row : SettingsCatalogue()) {
    EXPECT_TRUE(seen.insert({row.name, row.write == WriteRule::SaveDialog}).second) << row.name;
  }
  ExpectEachControlInOneRun(ApplyOrder(), [](const Setting& row) { return row.write; });
  ExpectEachControlInOneRun(LoadOrder(), [](const Setting& row) { return row.read; });
}

TEST(SettingsCatalogue, LoadPlacesAreDistinctAndEveryReadHasADestination) {
  std::set<LoadPlace> places;
  for (const Setting& row : SettingsCatalogue()) {
    SCOPED_TRACE(std::string(row.name));
    EXPECT_EQ(row.read == ReadRule::Never, row.load.step == 0);
    if (row.read == ReadRule::Never) continue;
    EXPECT_TRUE(places.insert(row.load).second);
    EXPECT_NE(row.control.has_value(), row.bitSet.has_value());
  }
  // Form_Load's steps 4 to 8 and 23 read nothing of their own.
  for (const LoadPlace& place : places) {
    EXPECT_TRUE(place.step >= 1 && place.step <= 22 && (place.step < 4 || place.step > 8));
  }
}

TEST(SettingsCatalogue, EachRuleHasWhatItNeeds) {
  std::set<BitSet> bitSets;
  for (const Setting& row : SettingsCatalogue()) {
    SCOPED_TRACE(std::string(row.name));
    if (row.bitSet) {
      EXPECT_TRUE(bitSets.insert(*row.bitSet).second);
    }
    EXPECT_TRUE(row.when != StoredWhen::TextNotEmpty || row.type == ValueType::Text);
    if (row.when == StoredWhen::NumberNotDefault || row.when == StoredWhen::TextNotExactlyZero) {
      EXPECT_EQ(row.type, ValueType::Number);
      EXPECT_TRUE(row.label.has_value()) << "a typed number needs a label to name it";
    }
    EXPECT_TRUE(!row.label || row.control);
    EXPECT_TRUE(row.read != ReadRule::MachineNumber || row.defaultNumber == 0);
    EXPECT_TRUE(!IsAlternativeNames(row.write) || row.read == ReadRule::Never || row.marked);
  }
  EXPECT_EQ(bitSets.size(), 6u);
}

TEST(SettingsCatalogue, AlternativeNamesCoverEveryChoice) {
  std::map<WriteRule, std::vector<NameVariant>> variants;
  for (const Setting& row : SettingsCatalogue()) {
    if (IsAlternativeNames(row.write)) variants[row.write].push_back(row.variant);
  }
  const auto has = [&variants](WriteRule rule, NameVariant wanted) {
    return std::ranges::any_of(variants[rule], [&wanted](const NameVariant& v) {
      return v.persistent == wanted.persistent && v.noWait == wanted.noWait &&
             v.mergeCommand == wanted.mergeCommand;
    });
  };
  for (bool persistent : {false, true}) {
    EXPECT_TRUE(has(WriteRule::FileName, {.persistent = persistent}));
    for (bool noWait : {false, true}) {
      EXPECT_TRUE(has(WriteRule::PostAction, {.persistent = persistent, .noWait = noWait}));
    }
  }
  EXPECT_TRUE(has(WriteRule::MergeFile, {.mergeCommand = "Append"}));
  EXPECT_TRUE(has(WriteRule::MergeFile, {.mergeCommand = "Prepend"}));
}

TEST(SettingsCatalogue, BitTablesUseEachBitOnceAndEachBoxOnce) {
  std::uint32_t disabled = 0;
  std::set<ControlId> boxes;
  for (const DisabledOptionBit& option : kDisabledOptionBits) {
    EXPECT_EQ(disabled & option.bit, 0u) << ControlName(option.box);
    EXPECT_TRUE(boxes.insert(option.box).second);
    disabled |= option.bit;
  }
  EXPECT_EQ(boxes.size(), 16u);

  std::uint32_t levels = 0;
  for (const EncryptionLevel& level : kEncryptionLevels) levels |= level.bit;
  EXPECT_EQ(levels, kEncryptionGroup);
  EXPECT_EQ(kEncryptionLevels[std::size(kEncryptionLevels) - 1].bit, 0u)
      << "the level without a bit must be tested last";
  EXPECT_EQ(levels & kResizingBit, 0u);

  std::uint32_t permissions = 0;
  for (const PermissionCombo& combo : kPermissionCombos) {
    EXPECT_EQ(permissions & combo.bits, 0u);
    permissions |= combo.bits;
  }
}

}  // namespace
}  // namespace quillon
