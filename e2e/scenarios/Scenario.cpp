// The scenarios' common ground.
#include "e2e/scenarios/Scenario.h"

#include <sstream>

#include "e2e/driver/RunFolders.h"

namespace quillon::e2e {
namespace {

constexpr Location kProductLocations[] = {Location::kMachine, Location::kMachine64, Location::kUser,
                                          Location::kLegacy, Location::kSaveDialog};
constexpr char kTemporaryFolderVariable[] = "QUILLONTEMP";
// Long enough for a box that is coming to show up.
constexpr Milliseconds kQuietSpan{1500};

std::string Describe(const std::pair<Location, std::string>& where, const RegValue& value) {
  std::ostringstream line;
  line << "  " << LocationName(where.first) << ": \"" << where.second << "\" = " << value << "\n";
  return line.str();
}

}  // namespace

StoredValues ReadStoredValues() {
  StoredValues values;
  for (const Location where : kProductLocations) {
    for (auto& [name, value] : registry::ReadAll(where)) values[{where, name}] = value;
  }
  if (std::optional<RegValue> temporary =
          registry::Read(Location::kEnvironment, kTemporaryFolderVariable)) {
    values[{Location::kEnvironment, kTemporaryFolderVariable}] = *temporary;
  }
  return values;
}

bool SameValue(const RegValue& expected, const RegValue& found) {
  if (found == expected) return true;
  const bool text = expected.type == REG_SZ || expected.type == REG_EXPAND_SZ;
  RegValue withNul = expected;
  withNul.bytes.push_back(0);
  return text && found == withNul;
}

void ExpectStoredValues(const StoredValues& expected, const StoredValues& found) {
  std::string missing;
  std::string unexpected;
  for (const auto& [where, value] : expected) {
    const auto seen = found.find(where);
    if (seen == found.end()) {
      missing += Describe(where, value);
    } else if (!SameValue(value, seen->second)) {
      missing += Describe(where, value);
      unexpected += Describe(where, seen->second);
    }
  }
  for (const auto& [where, value] : found) {
    if (!expected.contains(where)) unexpected += Describe(where, value);
  }
  EXPECT_TRUE(missing.empty() && unexpected.empty())
      << "expected in the registry but not found there:\n"
      << (missing.empty() ? "  (nothing)\n" : missing)
      << "found in the registry but not expected:\n"
      << (unexpected.empty() ? "  (nothing)\n" : unexpected);
}

void Scenario::SetUp() {
  ASSERT_TRUE(settingChanges_.Listening()) << "the driver's own top-level window was not created";
  registry::CleanProductKeys();
  ASSERT_TRUE(registry::SetProcessorArchitecture(kNativeArchitecture));
}

void Scenario::TearDown() {
  if (process_) process_->Terminate();
  EXPECT_TRUE(registry::SetProcessorArchitecture(kNativeArchitecture));
  registry::CleanProductKeys();
}

LaunchOptions Scenario::DefaultLaunch() { return {.program = UtilityPath()}; }

bool Scenario::Open(const LaunchOptions& options) { return Launch(options) && WaitForWindow(); }

bool Scenario::Launch(const LaunchOptions& options) {
  if (process_) process_->Terminate();
  window_.reset();
  process_ = UtilityProcess::Launch(options);
  return process_ != nullptr;
}

bool Scenario::WaitForWindow() {
  window_ = UtilityWindow::WaitForOpen(*process_);
  return window_.has_value();
}

std::optional<ModalBox> Scenario::NextBox(const std::string& what) {
  return ModalBox::WaitFor(process_->Id(), what);
}

void Scenario::ExpectNoBox(const std::string& after) {
  if (const std::optional<ModalBox> box = ModalBox::AnyWithin(process_->Id(), kQuietSpan)) {
    ADD_FAILURE() << "expected no message box after " << after << ", saw " << box->View();
  }
}

bool Scenario::ApplyAndConfirmSaved() {
  if (!Window().Press(ControlId::btnApply)) return false;
  std::optional<ModalBox> box = NextBox("the confirmation after Apply");
  if (!box) return false;
  EXPECT_EQ(box->View(), Confirmation(kSettingsSaved));
  return box->Confirm() && Process().WaitForEnd("Apply closes the window after its confirmation");
}

bool Scenario::CancelAndEnd() {
  if (!Window().Press(ControlId::Command2)) return false;
  const bool ended = Process().WaitForEnd("Cancel closes the window");
  if (!ended) {
    if (std::optional<ModalBox> box = ModalBox::AnyWithin(Process().Id(), Milliseconds{0})) {
      ADD_FAILURE() << "Cancel was answered by a message box: " << box->View();
    }
  }
  return ended;
}

}  // namespace quillon::e2e
