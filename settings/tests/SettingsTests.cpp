// The registry contract on the model, and reads when calls fail, which only
// the model can show.
#include <gtest/gtest.h>

#include <vector>

#include "settings/substitute/SubstituteRegistry.h"
#include "settings/tests/RegistryContract.h"

namespace quillon {
namespace {

using Lines = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(Substitute, RegistryContract,
                         ::testing::Values(RegistryBackend{"Substitute", [] {
                                                             return std::unique_ptr<Registry>(
                                                                 new SubstituteRegistry);
                                                           }}));

// A number read whose create-or-open is refused falls back to a plain open,
// and a failure of that reports the first one; a write has no fallback. No
// key is left open.
TEST(RegistryAccess, NumberReadsFallBackToAPlainOpenAndWritesDoNot) {
  for (const long openCode : {kErrorSuccess, 1018L}) {
    SubstituteRegistry model;
    model.PutValue(RootKey::LocalMachine, "Software\\Q", RegistryView::Default, "n", kRegDword,
                   DwordBytes(7));
    model.FailCall(RegistryCall::CreateKey, 1, 1450);
    model.FailCall(RegistryCall::OpenKey, 1, openCode);
    RecordedMessageBoxes messages;
    RegistryAccess access(model, messages);
    EXPECT_EQ(access.GetLong({RootKey::LocalMachine, "Software\\Q"}, "n", RegistryView::Default),
              openCode ? -1 : 7);
    EXPECT_EQ(messages.shown, openCode ? Lines{"Could not open key at Software\\Q for setting n, "
                                               "open error code 1450|Quillon Admin Utility|48"}
                                       : Lines{});
    model.FailCall(RegistryCall::CreateKey, 1, 5);
    EXPECT_FALSE(access.SaveLong({RootKey::LocalMachine, "Software\\Q"}, "n", 1));
    EXPECT_EQ(messages.shown.back(),
              "Unable to save value n, open error code 5|Quillon Admin Utility|48");
    EXPECT_EQ(model.OpenHandleCount(), 0u);
  }
}

// Where only a number that is not 0 counts, a 0 in a key's 64-bit view is the
// key's number: the window does not open its default view, so a default view
// it may not read costs no message.
TEST(SettingLocations, AZeroInTheSixtyFourBitViewEndsTheKeysRead) {
  SubstituteRegistry model;
  model.PutValue(RootKey::LocalMachine, kProductKeyPath, RegistryView::Wow64_64, "n", kRegDword,
                 DwordBytes(0));
  model.deniedKeys.insert(
      model.PhysicalKey(RootKey::LocalMachine, kProductKeyPath, RegistryView::Default));
  RecordedMessageBoxes messages;
  RegistryAccess access(model, messages);
  SettingLocations locations(access);
  EXPECT_EQ(locations.FindNonZeroLong("n").data, 0);
  EXPECT_EQ(messages.shown, Lines{});
}

}  // namespace
}  // namespace quillon
