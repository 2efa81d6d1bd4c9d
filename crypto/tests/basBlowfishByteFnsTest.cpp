// Blocks, ECB and padding over byte arrays of every awkward length.
#include "crypto/basBlowfishByteFns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

#include "crypto/basBlowfish.h"
#include "crypto/basConvert.h"
#include "crypto/tests/RandomBytes.h"

namespace quillon {
namespace {

const Bytes kZeroKey(8, 0x00);

class basBlowfishByteFns : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SetKey(kZeroKey)); }
};

TEST_F(basBlowfishByteFns, BlockHalvesAreBigEndianWords) {
  std::array<std::uint8_t, 8> block{};
  EncryptBlock(block);
  EXPECT_EQ(block, (std::array<std::uint8_t, 8>{0x4E, 0xF9, 0x97, 0x45, 0x61, 0x98, 0xDD, 0x78}));
  DecryptBlock(block);
  EXPECT_EQ(block, (std::array<std::uint8_t, 8>{}));
}

TEST_F(basBlowfishByteFns, PaddingAppendsOneToEightBytesOfTheirCount) {
  struct Case {
    Bytes data, padded;
  };
  const Case cases[] = {
      {{}, Bytes(8, 0x08)},
      {{0x61, 0x62, 0x63}, {0x61, 0x62, 0x63, 0x05, 0x05, 0x05, 0x05, 0x05}},
      {Bytes(7, 0xAA), {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0x01}},
      {Bytes(8, 0xAA), {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 8, 8, 8, 8, 8, 8, 8, 8}},
  };
  for (const Case& c : cases) EXPECT_EQ(AddPadding(c.data), c.padded) << c.data.size() << " bytes";
}

TEST_F(basBlowfishByteFns, RemovalTrustsOnlyTheLastByte) {
  struct Case {
    Bytes data, unpadded;
  };
  const Bytes block0 = {0x61, 0x62, 0x63, 0x05, 0x05, 0x05, 0x05, 0x00};
  const Bytes block9 = {0x61, 0x62, 0x63, 0x05, 0x05, 0x05, 0x05, 0x09};
  const Bytes blockFF = {0x61, 0x62, 0x63, 0x05, 0x05, 0x05, 0x05, 0xFF};
  const Case cases[] = {
      {{0x61, 0x62, 0x63, 0x05, 0x05, 0x05, 0x05, 0x05}, {0x61, 0x62, 0x63}},
      {{0x61, 0x62, 0x63, 0x01, 0x02, 0x03, 0x04, 0x05}, {0x61, 0x62, 0x63}},
      {block0, block0},
      {block9, block9},
      {blockFF, blockFF},
      {Bytes(8, 0x08), {}},
      {{0x61, 0x62, 0x05}, {}},
      {{0x01}, {}},
      {{}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(RemovePadding(c.data), c.unpadded) << BytesToHex(c.data);
}

TEST_F(basBlowfishByteFns, CryptBlocksDropsBytesAfterTheLastWholeBlock) {
  std::mt19937 rng(12);
  const Bytes twelve = RandomBytes(rng, 12);
  const Bytes firstBlock(twelve.begin(), twelve.begin() + 8);
  EXPECT_EQ(CryptBlocks(twelve, true), CryptBlocks(firstBlock, true));
  EXPECT_EQ(CryptBlocks(twelve, false), CryptBlocks(firstBlock, false));
  EXPECT_EQ(CryptBlocks(twelve, true).size(), 8u);
  for (std::size_t shortLength : {0u, 1u, 7u}) {
    EXPECT_TRUE(CryptBlocks(RandomBytes(rng, shortLength), true).empty()) << shortLength;
    EXPECT_TRUE(CryptBlocks(RandomBytes(rng, shortLength), false).empty()) << shortLength;
  }
  EXPECT_TRUE(DecryptBytes(RandomBytes(rng, 7)).empty());
}

TEST_F(basBlowfishByteFns, EqualBlocksGiveEqualCipherBlocks) {
  std::mt19937 rng(8);
  const Bytes block = RandomBytes(rng, 8);
  Bytes data = block;
  const Bytes other = RandomBytes(rng, 8);
  data.insert(data.end(), other.begin(), other.end());
  data.insert(data.end(), block.begin(), block.end());

  const Bytes cipher = CryptBlocks(data, true);
  ASSERT_EQ(cipher.size(), 24u);
  EXPECT_TRUE(std::equal(cipher.begin(), cipher.begin() + 8, cipher.begin() + 16));
  EXPECT_FALSE(std::equal(cipher.begin(), cipher.begin() + 8, cipher.begin() + 8));
}

TEST_F(basBlowfishByteFns, EncryptBytesRoundTripsEveryLength) {
  std::mt19937 rng(33);
  for (std::size_t length = 0; length <= 33; ++length) {
    const Bytes plain = RandomBytes(rng, length);
    const Bytes cipher = EncryptBytes(plain);
    EXPECT_EQ(cipher.size(), (length / 8 + 1) * 8);
    EXPECT_EQ(DecryptBytes(cipher), plain) << length << " bytes";
  }
}

}  // namespace
}  // namespace quillon
