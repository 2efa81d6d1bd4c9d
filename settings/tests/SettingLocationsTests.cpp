// The scope operations on 32-bit and 64-bit Windows models: where each value
// lands, which copies are gone, and what a standard user is shown.
#include "settings/SettingLocations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "settings/substitute/SubstituteRegistry.h"
#include "settings/tests/FailureBoxes.h"

namespace quillon {
namespace {

using namespace std::string_literals;
using Windows = SubstituteRegistry::Windows;

constexpr const char* kName = "PDFWatermarkFile";
constexpr std::int32_t kOldNumber = 1;
constexpr std::int32_t kNewNumber = 2;

struct World {
  explicit World(Windows windows) : model(windows) {}
  SubstituteRegistry model;
  RecordedMessageBoxes messages;
  RegistryAccess access{model, messages};
  SettingLocations locations{access};
};

// An old copy at every place the value can be, and one below the local machine
// in the legacy store's layout, where nothing of the program's lives.
void SeedEverywhere(SubstituteRegistry& model) {
  const auto seed = [&model](const Location& location, RegistryView view) {
    model.PutValue(location.root, location.path, view, kName, kRegDword, DwordBytes(kOldNumber));
  };
  seed(kMachineProductKey, RegistryView::Default);
  seed(kMachineProductKey, RegistryView::Wow64_64);
  seed(kUserProductKey, RegistryView::Default);
  seed(kLegacyUserKey, RegistryView::Default);
  seed({RootKey::LocalMachine, kLegacyUserKey.path}, RegistryView::Default);
}

// Every copy of the value, sorted: "<root>\<physical path>: <what it holds>".
std::vector<std::string> Copies(const SubstituteRegistry& model) {
  const auto dword = [](std::int32_t n) {
    const auto bytes = DwordBytes(n);
    return std::string(bytes.begin(), bytes.end());
  };
  std::vector<std::string> copies;
  for (const StoredValue& value : model.ListValues()) {
    if (value.name != kName) continue;
    const std::string bytes(value.data.begin(), value.data.end());
    const char* holds = value.type == kRegDword && bytes == dword(kOldNumber)   ? "old"
                        : value.type == kRegDword && bytes == dword(kNewNumber) ? "new number"
                        : value.type == kRegExpandSz && bytes == "new\0"s       ? "new text"
                                                                                : "unexpected";
    copies.push_back((value.root == RootKey::CurrentUser ? "HKCU\\" : "HKLM\\") + value.path +
                     ": " + holds);
  }
  std::sort(copies.begin(), copies.end());
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
bool NumberForAll(SettingLocations& l) { return l.SaveProductLong(true, kName, kNewNumber); }
bool NumberForUser(SettingLocations& l) { return l.SaveProductLong(false, kName, kNewNumber); }
bool Clear(SettingLocations& l) { return l.ClearProductValue(kName); }
bool MachineNumber(SettingLocations& l) { return l.SaveMachineLong(kName, kNewNumber); }

struct ScopeCase {
  const char* what;
  Windows windows;
  bool standardUser;
  bool (*run)(SettingLocations&);
  bool succeeds;
  std::vector<std::string> copies;  // afterwards, sorted
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
    {"32-bit: text for all users", Windows::Bits32, false, TextForAll, true,
     {kMachineOnly + "new text", kElsewhere32}, {}},
    {"32-bit: number for the user", Windows::Bits32, false, NumberForUser, true,
     {kUser + "new number", kElsewhere32}, {}},
    {"32-bit: clear", Windows::Bits32, false, Clear, true, {kElsewhere32}, {}},
    {"standard user: text for all users", Windows::Bits64, true, TextForAll, false,
     {kMachine64 + "old", kMachine32 + "old", kElsewhere64}, {kSaveFailed}},
    {"standard user: text for the user", Windows::Bits64, true, TextForUser, false,
     {kUser + "new text", kMachine64 + "old", kMachine32 + "old", kElsewhere64}, {kDeleteFailed}},
    {"standard user: clear", Windows::Bits64, true, Clear, false,
     {kMachine64 + "old", kMachine32 + "old", kElsewhere64}, {kDeleteFailed, kDeleteFailed}},
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
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Copies(world.model), expected);
    EXPECT_EQ(world.messages.shown, FailureBoxes(row.messages));
  }
}

TEST(SettingLocations, ClearVisitsFourPlacesOnSixtyFourBitWindowsAndThreeOnThirtyTwo) {
  for (const auto& [windows, places] : {std::pair{Windows::Bits64, 4}, std::pair{Windows::Bits32, 3}}) {
    World world(windows);
    world.model.SetStandardUser(true);  // nothing exists, so nothing is denied either
    EXPECT_TRUE(world.locations.ClearProductValue(kName));
    EXPECT_EQ(world.model.CallCount(RegistryCall::OpenKey), places);
    EXPECT_TRUE(world.messages.shown.empty());
  }
}

TEST(SettingLocations, GetMachineLongPrefersTheSixtyFourBitViewAndTreatsMinusOneAsAbsent) {
  struct Case {
    const char* what;
    Windows windows;
    std::optional<std::int32_t> sixtyFourBit, defaultView;  // nullopt: not stored there
    std::int32_t expected;
  };
  const Case cases[] = {
      {"both views", Windows::Bits64, 7, 3, 7},
      {"-1 in the 64-bit view", Windows::Bits64, -1, 3, 3},
      {"-1 only", Windows::Bits64, std::nullopt, -1, 0},
      {"nowhere", Windows::Bits64, std::nullopt, std::nullopt, 0},
      {"32-bit Windows", Windows::Bits32, std::nullopt, 3, 3},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    World world(row.windows);
    const auto put = [&world](RegistryView view, std::int32_t number) {
      world.model.PutValue(kMachineProductKey.root, kMachineProductKey.path, view, kName,
                           kRegDword, DwordBytes(number));
    };
    if (row.sixtyFourBit) put(RegistryView::Wow64_64, *row.sixtyFourBit);
    if (row.defaultView) put(RegistryView::Default, *row.defaultView);
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

// Write first: old copies at the legacy key, the user key, the 64-bit view
// and the default view, each with its own number so that what a load would
// find can be told apart.
struct Replacement {
  explicit Replacement(Windows windows) : world(windows) {
    for (std::size_t i = 0; i < kLookupOrder.size(); ++i) Put(kLookupOrder[i], kOldCopies[i]);
  }
  void Put(ProductCopy copy, std::int32_t number) {
    const bool machine = copy == ProductCopy::Machine || copy == ProductCopy::Machine64BitView;
    const Location& at = copy == ProductCopy::Legacy ? kLegacyUserKey
                         : machine                   ? kMachineProductKey
                                                     : kUserProductKey;
    world.model.PutValue(at.root, at.path,
                         copy == ProductCopy::Machine64BitView ? RegistryView::Wow64_64
                                                               : RegistryView::Default,
                         kName, kRegDword, DwordBytes(number));
  }
  // The number a load finds: the first copy in lookup order.
  std::optional<std::int32_t> Found() {
    for (const Location& at : {kLegacyUserKey, kUserProductKey}) {
      const std::int32_t n = world.access.GetLong(at.root, at.path, kName, false);
      if (n != kAbsentNumber) return n;
    }
    const std::int32_t n = world.locations.GetMachineLong(kName);
    return n == 0 ? std::nullopt : std::optional<std::int32_t>(n);
  }
  static constexpr std::int32_t kOldCopies[] = {101, 102, 103, 104};
  World world;
};

TEST(SettingLocations, ReplaceSettingLeavesWhatClearingAndSavingLeave) {
  const std::string names[] = {kName};
  for (const Windows windows : {Windows::Bits64, Windows::Bits32}) {
    for (const bool allUsers : {true, false}) {
      SCOPED_TRACE(allUsers ? "all users" : "current user");
      World mended(windows);
      World unmended(windows);
      SeedEverywhere(mended.model);
      SeedEverywhere(unmended.model);
      EXPECT_TRUE(mended.locations.ReplaceSetting(names, SettingWrite{0, allUsers, kNewNumber}));
      unmended.locations.ClearProductValue(kName);
      unmended.locations.SaveProductLong(allUsers, kName, kNewNumber);
      EXPECT_EQ(Copies(mended.model), Copies(unmended.model));
    }
  }
}

TEST(SettingLocations, ReplaceSettingNeverLeavesAThirdValueBehind) {
  // Whichever write or removal fails, a load finds the old value or the new
  // (none, when the setting is removed), and a failure is always shown.
  const std::string names[] = {kName};
  const std::optional<SettingWrite> writes[] = {SettingWrite{0, true, kNewNumber},
                                                SettingWrite{0, false, kNewNumber}, std::nullopt};
  for (const std::optional<SettingWrite>& write : writes) {
    for (const RegistryCall call : {RegistryCall::SetValue, RegistryCall::DeleteValue}) {
      for (int nth = 1; nth <= 4; ++nth) {
        SCOPED_TRACE(testing::Message() << (write ? write->allUsers : -1) << " call "
                                        << static_cast<int>(call) << " #" << nth);
        Replacement replacement(Windows::Bits64);
        replacement.world.model.FailCall(call, nth, kErrorAccessDenied);
        const bool done = replacement.world.locations.ReplaceSetting(names, write);
        const std::optional<std::int32_t> found = replacement.Found();
        const std::optional<std::int32_t> updated =
            write ? std::optional<std::int32_t>(kNewNumber) : std::nullopt;
        EXPECT_TRUE(found == Replacement::kOldCopies[0] || found == updated);
        EXPECT_EQ(done, replacement.world.messages.shown.empty());
      }
    }
  }
}

}  // namespace
}  // namespace quillon
