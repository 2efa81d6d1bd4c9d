// Blocks, ECB and padding over byte arrays of every awkward length.
#include "crypto/basBlowfishByteFns.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "crypto/basBlowfish.h"
#include "crypto/basConvert.h"
#include "crypto/tests/RandomBytes.h"

namespace quillon {
namespace {

class basBlowfishByteFns : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SetKey(Bytes(8, 0x00))); }
};

TEST_F(basBlowfishByteFns, BlockHalvesAreBigEndianWords) {
  std::array<std::uint8_t, 8> block{};
  EncryptBlock(block);
  EXPECT_EQ(block, (std::array<std::uint8_t, 8>{0x4E, 0xF9, 0x97, 0x45, 0x61, 0x98, 0xDD, 0x78}));
  DecryptBlock(block);
  EXPECT_EQ(block, (std::array<std::uint8_t, 8>{}));
}

TEST_F(basBlowfishByteFns, PaddingAppendsOneToEightBytesOfTheirCount) {
  const std::pair<Bytes, Bytes> cases[] = {
      {{}, Bytes(8, 0x08)},
      {{0x61, 0x62, 0x63}, {0x61, 0x62, 0x63, 0x05, 0x05, 0x05, 0x05, 0x05}},
      {Bytes(7, 0xAA), {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0x01}},
      {Bytes(8, 0xAA), {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 8, 8, 8, 8, 8, 8, 8, 8}},
  };
  for (const auto& [data, padded] : cases) EXPECT_EQ(AddPadding(data), padded) << data.size();
}

TEST_F(basBlowfishByteFns, RemovalTrustsOnlyTheLastByte) {
  const Bytes abc = {0x61, 0x62, 0x63};
  const auto block = [&abc](std::uint8_t last) {
    Bytes bytes = abc;
    bytes.insert(bytes.end(), {0x05, 0x05, 0x05, 0x05, last});
    return bytes;
  };
  const std::pair<Bytes, Bytes> cases[] = {
      {block(0x05), abc},
      {{0x61, 0x62, 0x63, 0x01, 0x02, 0x03, 0x04, 0x05}, abc},
      {block(0x00), block(0x00)},
      {block(0x09), block(0x09)},
      {block(0xFF), block(0xFF)},
      {Bytes(8, 0x08), {}},
      {{0x61, 0x62, 0x05}, {}},
      {{0x01}, {}},
      {{}, {}},
  };
  for (const auto& [data, unpadded] : cases) {
    EXPECT_EQ(RemovePadding(data), unpadded) << BytesToHex(data);
  }
}

TEST_F(basBlowfishByteFns, CryptBlocksIsElectronicCodebookOverWholeBlocksOnly) {
  std::mt19937 rng(12);
  const Bytes block = RandomBytes(rng, 8);
  Bytes data = block;
  const Bytes other = RandomBytes(rng, 8);
  data.insert(data.end(), other.begin(), other.end());
  data.insert(data.end(), block.begin(), block.end());
  const Bytes cipher = CryptBlocks(data, true);
  ASSERT_EQ(cipher.size(), 24u);
  const auto cipherBlock = [&cipher](int k) {
    return Bytes(cipher.begin() + 8 * k, cipher.begin() + 8 * (k + 1));
  };
  EXPECT_EQ(cipherBlock(0), cipherBlock(2));
  EXPECT_NE(cipherBlock(0), cipherBlock(1));

  // Bytes after the last whole block are dropped.
  const Bytes twelve(data.begin(), data.begin() + 12);
  EXPECT_EQ(CryptBlocks(twelve, true), cipherBlock(0));
  EXPECT_EQ(CryptBlocks(twelve, false), CryptBlocks(block, false));
  for (const std::size_t shortLength : {0u, 1u, 7u}) {
    EXPECT_TRUE(CryptBlocks(RandomBytes(rng, shortLength), true).empty()) << shortLength;
    EXPECT_TRUE(DecryptBytes(RandomBytes(rng, shortLength)).empty()) << shortLength;
  }
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
