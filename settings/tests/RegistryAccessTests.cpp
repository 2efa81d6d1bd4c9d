// The registry operations where only the model can show them: the
// architecture test and failures of single calls.
#include "settings/RegistryAccess.h"

#include <gtest/gtest.h>

#include <vector>

#include "settings/SettingLocations.h"
#include "settings/substitute/SubstituteRegistry.h"
#include "settings/tests/FailureBoxes.h"

namespace quillon {
namespace {

using namespace std::string_literals;

constexpr const char* kProduct = "Software\\Marrowby\\Quillon";
constexpr RootKey kMachine = RootKey::LocalMachine;

TEST(RegistryAccess, Is64BitWindowsOnlyForExactlyAMD64) {
  struct Case {
    std::uint32_t type;
    std::string stored;  // empty: the value is removed
    bool expected;
  };
  const Case cases[] = {{kRegSz, "AMD64\0"s, true},   {kRegExpandSz, "AMD64", true},
                        {kRegSz, "amd64\0"s, false},  {kRegSz, "x86\0"s, false},
                        {kRegSz, "AMD64 \0"s, false}, {kRegBinary, "AMD64", false},
                        {kRegSz, "", false}};
  for (const Case& row : cases) {
    SCOPED_TRACE(row.stored);
    SubstituteRegistry model;
    RecordedMessageBoxes messages;
    RegistryAccess access(model, messages);
    const Location& key = kEnvironmentKey;
    if (row.stored.empty()) {
      ASSERT_TRUE(access.DeleteValue(key.root, key.path, kProcessorArchitectureValue));
    } else {
      model.PutValue(key.root, key.path, RegistryView::Default, kProcessorArchitectureValue,
                     row.type, TextBytes(row.stored));
    }
    EXPECT_EQ(access.Is64BitWindows(), row.expected);
    EXPECT_TRUE(messages.shown.empty());
  }
}

struct InjectedFailure {
  RegistryCall call;
  int nth;
  long code;
};

// Each operation runs on a 64-bit model that holds "kept" = 7 at the machine
// product key. `run` is true when the operation's result is the expected one.
struct FailureCase {
  const char* what;
  std::vector<InjectedFailure> failures;
  bool (*run)(RegistryAccess&);
  std::vector<std::string> messages;
};

const FailureCase kFailureCases[] = {
    {"number write fails", {{RegistryCall::SetValue, 1, 1450}},
     [](RegistryAccess& a) { return !a.SaveLong(kMachine, kProduct, "n", 1); },
     {"Unable to save value n, save error code 1450"}},
    {"text write fails", {{RegistryCall::SetValue, 1, 1450}},
     [](RegistryAccess& a) { return !a.SaveString(kMachine, kProduct, "n", "t"); },
     {"Unable to save value n, save error code 1450"}},
    {"text write cannot create its key", {{RegistryCall::CreateKey, 1, 1450}},
     [](RegistryAccess& a) { return !a.SaveString(kMachine, kProduct, "n", "t"); },
     {"Unable to save value n, open error code 1450"}},
    {"delete fails", {{RegistryCall::DeleteValue, 1, 5}},
     [](RegistryAccess& a) { return !a.DeleteValue(kMachine, kProduct, "kept"); },
     {"Unable to delete value kept, save error code 5"}},
    {"delete cannot open its key", {{RegistryCall::OpenKey, 1, 1450}},
     [](RegistryAccess& a) { return !a.DeleteValue(kMachine, kProduct, "kept"); },
     {"Unable to delete value kept, open error code 1450"}},
    {"number read falls back to a plain open", {{RegistryCall::CreateKey, 1, 1450}},
     [](RegistryAccess& a) { return a.GetLong(kMachine, kProduct, "kept", false) == 7; }, {}},
    {"number read cannot open its key",
     {{RegistryCall::CreateKey, 1, 1450}, {RegistryCall::OpenKey, 1, 1018}},
     [](RegistryAccess& a) { return a.GetLong(kMachine, kProduct, "kept", false) == -1; },
     {"Could not open key at Software\\Marrowby\\Quillon for setting kept, open error code 1450"}},
    {"number query fails", {{RegistryCall::QueryValue, 2, 1450}},
     [](RegistryAccess& a) { return a.GetLong(kMachine, kProduct, "kept", false) == -1; }, {}},
    {"text read cannot open its key", {{RegistryCall::CreateKey, 1, 1450}},
     [](RegistryAccess& a) { return a.GetString(kMachine, kProduct, "kept").empty(); }, {}},
};

TEST(RegistryAccess, FailuresShowTheirMessagesTextForTextAndCloseEveryKey) {
  for (const FailureCase& row : kFailureCases) {
    SCOPED_TRACE(row.what);
    SubstituteRegistry model;
    model.PutValue(kMachine, kProduct, RegistryView::Default, "kept", kRegDword, DwordBytes(7));
    for (const InjectedFailure& failure : row.failures) {
      model.FailCall(failure.call, failure.nth, failure.code);
    }
    RecordedMessageBoxes messages;
    RegistryAccess access(model, messages);
    EXPECT_TRUE(row.run(access));
    EXPECT_EQ(messages.shown, FailureBoxes(row.messages));
    EXPECT_EQ(model.OpenHandleCount(), 0u);
  }
}

}  // namespace
}  // namespace quillon
