// Word arithmetic at the extremes where a signed or narrow implementation breaks.
#include "crypto/basUnsignedWord.h"

#include <gtest/gtest.h>

#include <array>

namespace quillon {
namespace {

TEST(basUnsignedWord, JoinAndSplitAreBigEndianIncludingTheTopBit) {
  struct Case {
    std::array<std::uint8_t, 4> bytes;
    std::uint32_t word;
  };
  const Case cases[] = {
      {{0x80, 0x00, 0x00, 0x01}, 0x80000001},
      {{0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFF},
      {{0x12, 0x34, 0x56, 0x78}, 0x12345678},
      {{0x00, 0x00, 0x00, 0x00}, 0x00000000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinWordBytes(c.bytes[0], c.bytes[1], c.bytes[2], c.bytes[3]), c.word);
    std::array<std::uint8_t, 4> split{};
    SplitWordBytes(c.word, split);
    EXPECT_EQ(split, c.bytes) << std::hex << c.word;
  }
}

TEST(basUnsignedWord, ShiftDropsTheTopByte) {
  EXPECT_EQ(ShiftWordLeft8(0x12345678), 0x34567800u);
  EXPECT_EQ(ShiftWordLeft8(0xFF800000), 0x80000000u);
}

TEST(basUnsignedWord, AddWrapsModulo2To32) {
  struct Case {
    std::uint32_t a, b, sum;
  };
  const Case cases[] = {
      {0xFFFFFFFF, 0x00000001, 0x00000000},
      {0x80000000, 0x80000000, 0x00000000},
      {0x7FFFFFFF, 0x00000001, 0x80000000},
      {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFE},
  };
  for (const Case& c : cases) EXPECT_EQ(AddWords(c.a, c.b), c.sum) << std::hex << c.a << "+" << c.b;
}

TEST(basUnsignedWord, UnsignedValuesCoverTheWholeRange) {
  EXPECT_EQ(WordToUnsigned(0xFFFFFFFF), 4294967295.0);
  EXPECT_EQ(WordToUnsigned(0x80000000), 2147483648.0);
  EXPECT_EQ(UnsignedToWord(4294967295.0), 0xFFFFFFFFu);
  EXPECT_EQ(UnsignedToWord(2147483648.0), 0x80000000u);
}

}  // namespace
}  // namespace quillon
