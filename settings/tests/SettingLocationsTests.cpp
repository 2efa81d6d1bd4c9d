// The scope operations on 32-bit and 64-bit Windows models: where each value
// lands, which copies are gone, and what a standard user is shown. That a
// failure part-way through a replacement leaves the old value or the new one
// is shown over every setting by the app's fault-injection test.
#include "settings/SettingLocations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "settings/substitute/SubstituteRegistry.h"
#include "settings/tests/FailureBoxes.h"

namespace quillon {
namespace {

using namespace std::string_literals;
using Windows = SubstituteRegistry::Windows;

constexpr const char* kName = "PDFWatermarkFile";

struct World {
  explicit World(Windows windows) : model(windows) {}
  SubstituteRegistry model;
  RecordedMessageBoxes messages;
  RegistryAccess access{model, messages};
  SettingLocations locations{access};
};

// An old copy (the number 1) at every place the value can be, and one below
// the local machine in the legacy store's layout, where nothing of the
// program's lives.
void SeedEverywhere(SubstituteRegistry& model) {
  const auto seed = [&model](const Location& location, RegistryView view) {
    model.PutValue(location.root, location.path, view, kName, kRegDword, DwordBytes(1));
  };
  seed(kMachineProductKey, RegistryView::Default);
  seed(kMachineProductKey, RegistryView::Wow64_64);
  seed(kUserProductKey, RegistryView::Default);
  seed(kLegacyUserKey, RegistryView::Default);
  seed({RootKey::LocalMachine, kLegacyUserKey.path}, RegistryView::Default);
}

// Every copy of the value, sorted: "<root>\<physical path>: <what it holds>".
std::vector<std::string> Copies(const SubstituteRegistry& model) {
  std::vector<std::string> copies;
  for (const StoredValue& value : model.ListValues()) {
    if (value.name != kName) continue;
    const std::string bytes(value.data.begin(), value.data.end());
    const char* holds = value.type == kRegDword && bytes == "\1\0\0\0"s   ? "old"
                        : value.type == kRegDword && bytes == "\2\0\0\0"s ? "new number"
                        : value.type == kRegExpandSz && bytes == "new\0"s ? "new text"
                                                                          : "unexpected";
    copies.push_back((value.root == RootKey::CurrentUser ? "HKCU\\" : "HKLM\\") + value.path +
                     ": " + holds);
  }
  std::ranges::sort(copies);
  return copies;
}

const std::string kUser = "HKCU\\Software\\Marrowby\\Quillon: ";
const std::string kLegacy = "HKCU\\Software\\VB and VBA Program Settings\\Marrowby\\Quillon: ";
const std::string kMachine32 = "HKLM\\Software\\Wow6432Node\\Marrowby\\Quillon: ";
const std::string kMachine64 = "HKLM\\Software\\Marrowby\\Quillon: ";
const std::string kMachineOnly = kMachine64;  // 32-bit Windows: one view, not redirected
const std::string kElsewhere64 =
    "HKLM\\Software\\Wow6432Node\\VB and VBA Program Settings\\Marrowby\\Quillon: old";
const std::string kElsewhere32 =
    "HKLM\\Software\\VB and VBA Program Settings\\Marrowby\\Quillon: old";
const std::string kSaveFailed = "Unable to save value PDFWatermarkFile, open error code 5";
const std::string kDeleteFailed = "Unable to delete value PDFWatermarkFile, open error code 5";

bool TextForAll(SettingLocations& l) { return l.SaveProductString(true, kName, "new"); }
bool TextForUser(SettingLocations& l) { return l.SaveProductString(false, kName, "new"); }
bool NumberForAll(SettingLocations& l) { return l.SaveProductLong(true, kName, 2); }
bool NumberForUser(SettingLocations& l) { return l.SaveProductLong(false, kName, 2); }
bool Clear(SettingLocations& l) { return l.ClearProductValue(kName); }
bool MachineNumber(SettingLocations& l) { return l.SaveMachineLong(kName, 2); }
bool Replace(SettingLocations& l, bool allUsers) {
  const std::string names[] = {kName};
  return l.ReplaceSetting(names, SettingWrite{0, allUsers, std::int32_t{2}});
}
bool ReplaceForAll(SettingLocations& l) { return Replace(l, true); }
bool ReplaceForUser(SettingLocations& l) { return Replace(l, false); }

struct ScopeCase {
  const char* what;
  Windows windows;
  bool standardUser;
  bool (*run)(SettingLocations&);
  bool succeeds;
  std::vector<std::string> copies;  // afterwards
  std::vector<std::string> messages;
};

const ScopeCase kScopeCases[] = {
    {"text for all users", Windows::Bits64, false, TextForAll, true,
     {kMachine64 + "old", kMachine32 + "new text", kElsewhere64}, {}},
    {"text for the user", Windows::Bits64, false, TextForUser, true,
     {kUser + "new text", kMachine64 + "old", kElsewhere64}, {}},
    {"number for all users", Windows::Bits64, false, NumberForAll, true,
     {kMachine64 + "old", kMachine32 + "new number", kElsewhere64}, {}},
    {"number for the user", Windows::Bits64, false, NumberForUser, true,
     {kUser + "new number", kMachine64 + "old", kElsewhere64}, {}},
    {"clear", Windows::Bits64, false, Clear, true, {kElsewhere64}, {}},
    {"machine number", Windows::Bits64, false, MachineNumber, true,
     {kUser + "old", kLegacy + "old", kMachine64 + "old", kMachine32 + "new number", kElsewhere64},
     {}},
    // Replacing leaves what clearing and then saving leaves.
    {"replace for all users", Windows::Bits64, false, ReplaceForAll, true,
     {kMachine32 + "new number", kElsewhere64}, {}},
    {"replace for the user", Windows::Bits64, false, ReplaceForUser, true,
     {kUser + "new number", kElsewhere64}, {}},
    {"32-bit: text for all users", Windows::Bits32, false, TextForAll, true,
     {kMachineOnly + "new text", kElsewhere32}, {}},
    {"32-bit: number for the user", Windows::Bits32, false, NumberForUser, true,
     {kUser + "new number", kElsewhere32}, {}},
    {"32-bit: clear", Windows::Bits32, false, Clear, true, {kElsewhere32}, {}},
    {"32-bit: replace for all users", Windows::Bits32, false, ReplaceForAll, true,
     {kMachineOnly + "new number", kElsewhere32}, {}},
    {"32-bit: replace for the user", Windows::Bits32, false, ReplaceForUser, true,
     {kUser + "new number", kElsewhere32}, {}},
    {"standard user: text for all users", Windows::Bits64, true, TextForAll, false,
     {kMachine64 + "old", kMachine32 + "old", kElsewhere64}, {kSaveFailed}},
    {"standard user: text for the user", Windows::Bits64, true, TextForUser, false,
     {kUser + "new text", kMachine64 + "old", kMachine32 + "old", kElsewhere64}, {kDeleteFailed}},
    {"standard user: clear", Windows::Bits64, true, Clear, false,
     {kMachine64 + "old", kMachine32 + "old", kElsewhere64}, {kDeleteFailed, kDeleteFailed}},
    // 32-bit Windows has no 64-bit view to visit a second time.
    {"32-bit standard user: clear", Windows::Bits32, true, Clear, false,
     {kMachineOnly + "old", kElsewhere32}, {kDeleteFailed}},
    {"standard user: machine number", Windows::Bits64, true, MachineNumber, false,
     {kUser + "old", kLegacy + "old", kMachine64 + "old", kMachine32 + "old", kElsewhere64},
     {kSaveFailed}},
};

TEST(SettingLocations, ScopeOperationsLeaveEachCopyWhereItBelongs) {
  for (const ScopeCase& row : kScopeCases) {
    SCOPED_TRACE(row.what);
    World world(row.windows);
    SeedEverywhere(world.model);
    world.model.SetStandardUser(row.standardUser);
    EXPECT_EQ(row.run(world.locations), row.succeeds);
    std::vector<std::string> expected = row.copies;
    std::ranges::sort(expected);
    EXPECT_EQ(Copies(world.model), expected);
    EXPECT_EQ(world.messages.shown, FailureBoxes(row.messages));
  }
}

TEST(SettingLocations, GetMachineLongPrefersTheSixtyFourBitViewAndTreatsMinusOneAsAbsent) {
  const struct {
    const char* what;
    Windows windows;
    std::optional<std::int32_t> sixtyFourBit, defaultView;  // nullopt: not stored there
    std::int32_t expected;
  } cases[] = {
      {"both views", Windows::Bits64, 7, 3, 7},
      {"-1 in the 64-bit view", Windows::Bits64, -1, 3, 3},
      {"-1 only", Windows::Bits64, std::nullopt, -1, 0},
      {"nowhere", Windows::Bits64, std::nullopt, std::nullopt, 0},
      {"32-bit Windows", Windows::Bits32, std::nullopt, 3, 3},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    World world(row.windows);
    const auto put = [&world](RegistryView view, std::optional<std::int32_t> number) {
      if (!number) return;
      world.model.PutValue(kMachineProductKey.root, kMachineProductKey.path, view, kName,
                           kRegDword, DwordBytes(*number));
    };
    put(RegistryView::Wow64_64, row.sixtyFourBit);
    put(RegistryView::Default, row.defaultView);
    world.model.SetStandardUser(true);  // a machine key that is missing is not reported
    EXPECT_EQ(world.locations.GetMachineLong(kName), row.expected);
    EXPECT_TRUE(world.messages.shown.empty());
  }
}

TEST(SettingLocations, LegacyUserStringIsAPlainReadThatCreatesNothing) {
  World world(Windows::Bits64);
  EXPECT_EQ(world.locations.GetLegacyUserString(kName), "");
  EXPECT_FALSE(world.model.KeyExists(kLegacyUserKey.root, kLegacyUserKey.path,
                                     RegistryView::Default));
  world.model.PutValue(kLegacyUserKey.root, kLegacyUserKey.path, RegistryView::Default, kName,
                       kRegSz, TextBytes("C:\\Out\0"s));
  EXPECT_EQ(world.locations.GetLegacyUserString(kName), "C:\\Out");
  EXPECT_EQ(world.model.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quillon
