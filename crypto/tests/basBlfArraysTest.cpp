// The zero check that guards the generated initial tables. Their values are
// pinned by the published cipher vectors, which every entry feeds into.
#include "crypto/basBlfArrays.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/substitute/RecordedMessageBoxes.h"

namespace quillon {
namespace {

TEST(basBlfArrays, ZeroCheckFindsNoneInTheTablesAndReportsEachInOrder) {
  RecordedMessageBoxes boxes;
  SetTableCheckMessageBoxes(&boxes);
  KeyState state{};
  LoadInitialTables(state);
  SetTableCheckMessageBoxes(nullptr);
  EXPECT_TRUE(boxes.shown.empty());

  state.S[2][17] = 0;
  state.S[0][255] = 0;
  state.S[3][0] = 0;
  ReportZeroSEntries(state.S, &boxes);
  EXPECT_EQ(boxes.shown, (std::vector<RecordedMessage>{
                             {"Zero value in S(0,255)", "Quillon Admin Utility", 0},
                             {"Zero value in S(2,17)", "Quillon Admin Utility", 0},
                             {"Zero value in S(3,0)", "Quillon Admin Utility", 0}}));
  // Key set-up may run before the program has installed its message boxes.
  ReportZeroSEntries(state.S, nullptr);
}

}  // namespace
}  // namespace quillon
