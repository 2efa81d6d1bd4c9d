// The generated initial tables and the zero check that guards them.
#include "crypto/basBlfArrays.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/substitute/RecordedMessageBoxes.h"

namespace quillon {
namespace {

TEST(basBlfArrays, InitialTablesHoldThePublishedTellingEntries) {
  EXPECT_EQ(kInitialP[0], 0x243F6A88u);
  EXPECT_EQ(kInitialP[1], 0x85A308D3u);
  EXPECT_EQ(kInitialP[16], 0x9216D5D9u);
  EXPECT_EQ(kInitialP[17], 0x8979FB1Bu);
  struct Entry {
    std::size_t box, index;
    std::uint32_t value;
  };
  const Entry entries[] = {
      {0, 0, 0xD1310BA6}, {0, 1, 0x98DFB5AC}, {0, 255, 0x6E85076A}, {1, 0, 0x4B7A70E9},
      {1, 255, 0xDB83ADF7}, {2, 0, 0xE93D5A68}, {2, 255, 0x406000E0}, {3, 0, 0x3A39CE37},
      {3, 255, 0x3AC372E6},
  };
  for (const Entry& e : entries) {
    EXPECT_EQ(kInitialS[e.box][e.index], e.value) << "S(" << e.box << "," << e.index << ")";
  }
}

TEST(basBlfArrays, LoadCopiesTheTablesAndFindsNoZero) {
  RecordedMessageBoxes boxes;
  SetTableCheckMessageBoxes(&boxes);
  KeyState state{};
  LoadInitialTables(state);
  SetTableCheckMessageBoxes(nullptr);

  EXPECT_EQ(state.P, kInitialP);
  EXPECT_EQ(state.S, kInitialS);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST(basBlfArrays, ZeroCheckReportsEachZeroEntryInOrder) {
  SBoxes corrupted = kInitialS;
  corrupted[2][17] = 0;
  corrupted[0][255] = 0;
  corrupted[3][0] = 0;
  RecordedMessageBoxes boxes;
  ReportZeroSEntries(corrupted, &boxes);

  const std::vector<RecordedMessage> expected = {
      {"Zero value in S(0,255)", "Quillon Admin Utility", 0},
      {"Zero value in S(2,17)", "Quillon Admin Utility", 0},
      {"Zero value in S(3,0)", "Quillon Admin Utility", 0},
  };
  EXPECT_EQ(boxes.shown, expected);
}

// Key set-up may run before the program has installed its message boxes.
TEST(basBlfArrays, ZeroCheckWithoutMessageBoxesDoesNotCrash) {
  SBoxes corrupted = kInitialS;
  corrupted[1][1] = 0;
  ReportZeroSEntries(corrupted, nullptr);
}

}  // namespace
}  // namespace quillon
