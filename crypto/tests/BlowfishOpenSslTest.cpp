// Differential test against OpenSSL's Blowfish: for keys of every accepted
// length the whole key state must match entry by entry, and random blocks
// must encrypt and decrypt alike, as word pairs and as bytes.
#include <openssl/blowfish.h>

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "crypto/basBlowfish.h"
#include "crypto/basBlowfishByteFns.h"
#include "crypto/tests/RandomBytes.h"

namespace quillon {
namespace {

constexpr int kKeysPerLength = 4;
constexpr int kBlocksPerKey = 64;

void ExpectSameKeyState(const BF_KEY& reference) {
  const KeyState& state = CurrentKeyState();
  for (std::size_t i = 0; i < kPWords; ++i) {
    ASSERT_EQ(state.P[i], reference.P[i]) << "P[" << i << "]";
  }
  for (std::size_t box = 0; box < kSBoxCount; ++box) {
    for (std::size_t index = 0; index < kSBoxWords; ++index) {
      ASSERT_EQ(state.S[box][index], reference.S[box * kSBoxWords + index])
          << "S(" << box << "," << index << ")";
    }
  }
}

void ExpectSameBlocks(const BF_KEY& reference, std::mt19937& rng) {
  std::uniform_int_distribution<std::uint32_t> word;
  for (int i = 0; i < kBlocksPerKey; ++i) {
    BF_LONG expected[2] = {word(rng), word(rng)};
    std::uint32_t left = expected[0];
    std::uint32_t right = expected[1];
    BF_encrypt(expected, &reference);
    EncipherWords(left, right);
    ASSERT_EQ(left, expected[0]);
    ASSERT_EQ(right, expected[1]);
    BF_decrypt(expected, &reference);
    DecipherWords(left, right);
    ASSERT_EQ(left, expected[0]);
    ASSERT_EQ(right, expected[1]);
  }
  const Bytes block = RandomBytes(rng, 8);
  std::array<std::uint8_t, 8> expected{};
  BF_ecb_encrypt(block.data(), expected.data(), &reference, BF_ENCRYPT);
  std::array<std::uint8_t, 8> ours{};
  std::copy(block.begin(), block.end(), ours.begin());
  EncryptBlock(ours);
  EXPECT_EQ(ours, expected);
  DecryptBlock(ours);
  EXPECT_TRUE(std::equal(ours.begin(), ours.end(), block.begin()));
}

TEST(BlowfishOpenSsl, EveryKeyLengthMatchesTheReference) {
  std::mt19937 rng(448);
  for (std::size_t length = 1; length <= kMaxKeyBytes; ++length) {
    for (int k = 0; k < kKeysPerLength; ++k) {
      SCOPED_TRACE(testing::Message() << "key length " << length);
      const Bytes key = RandomBytes(rng, length);
      BF_KEY reference;
      BF_set_key(&reference, static_cast<int>(key.size()), key.data());
      ASSERT_TRUE(SetKey(key));
      ExpectSameKeyState(reference);
      ExpectSameBlocks(reference, rng);
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace quillon
