// The recording registry where the export's file cannot show it.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "settings/RecordingRegistry.h"
#include "settings/SettingLocations.h"
#include "settings/substitute/SubstituteRegistry.h"

namespace quillon {
namespace {

// What the export's file cannot show of the registry it records on: a recorded
// value read back into a buffer of exactly its size, removals telling whether
// the value was there, and a handle it never gave out.
TEST(RecordingRegistry, AnswersAsTheRegistryWould) {
  SubstituteRegistry underneath;
  underneath.PutValue(RootKey::CurrentUser, kProductKeyPath, RegistryView::Default, "Held",
                      kRegDword, DwordBytes(7));
  RecordingRegistry recorder(underneath);
  KeyHandle key{};
  ASSERT_EQ(recorder.OpenKey(RootKey::CurrentUser, kProductKeyPath, KeyAccess::Write,
                             RegistryView::Default, key),
            kErrorSuccess);
  ASSERT_EQ(recorder.SetValue(key, "Set", kRegDword, DwordBytes(9)), kErrorSuccess);
  std::array<std::uint8_t, kDwordSize> bytes{};
  std::uint32_t type = kRegNone;
  std::uint32_t size = kDwordSize;
  const struct {
    const char* call;
    long code, expected;
  } cases[] = {
      {"read back", recorder.QueryValue(key, "Set", type, bytes.data(), size), kErrorSuccess},
      {"remove one held underneath", recorder.DeleteValue(key, "Held"), kErrorSuccess},
      {"remove one held nowhere", recorder.DeleteValue(key, "Never"), kErrorFileNotFound},
      {"remove through a stranger", recorder.DeleteValue(KeyHandle{99}, "Held"),
       kErrorInvalidHandle},
      {"close", recorder.CloseKey(key), kErrorSuccess},
      {"close again", recorder.CloseKey(key), kErrorInvalidHandle},
  };
  for (const auto& c : cases) EXPECT_EQ(c.code, c.expected) << c.call;
  EXPECT_EQ(DwordNumber(bytes), 9);
}

}  // namespace
}  // namespace quillon
