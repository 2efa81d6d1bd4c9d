// Word arithmetic at the extremes where a signed or narrow implementation
// breaks. The published cipher vectors exercise every word operation the
// rounds use; here are the byte order and the conversions to and from whole
// numbers.
#include "crypto/basUnsignedWord.h"

#include <gtest/gtest.h>

#include <array>

namespace quillon {
namespace {

TEST(basUnsignedWord, BytesAreBigEndianAndTheTopBitIsNoSign) {
  const std::array<std::uint8_t, 4> bytes = {0x80, 0x12, 0x34, 0xFF};
  EXPECT_EQ(JoinWordBytes(bytes[0], bytes[1], bytes[2], bytes[3]), 0x801234FFu);
  std::array<std::uint8_t, 4> split{};
  SplitWordBytes(0x801234FF, split);
  EXPECT_EQ(split, bytes);
  EXPECT_EQ(AddWords(0xFFFFFFFF, 0xFFFFFFFF), 0xFFFFFFFEu);
  EXPECT_EQ(WordToUnsigned(0xFFFFFFFF), 4294967295.0);
  EXPECT_EQ(UnsignedToWord(4294967295.0), 0xFFFFFFFFu);
  EXPECT_EQ(UnsignedToWord(2147483648.0), 0x80000000u);
}

}  // namespace
}  // namespace quillon
