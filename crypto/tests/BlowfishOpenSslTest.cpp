// Differential test against OpenSSL's Blowfish: for keys of every accepted
// length the whole key state must match entry by entry, and random blocks
// must encrypt and decrypt alike.
#include <gtest/gtest.h>
#include <openssl/blowfish.h>

#include <algorithm>
#include <array>
#include <random>

#include "crypto/basBlowfish.h"
#include "crypto/basBlowfishByteFns.h"

namespace quillon {
namespace {

TEST(BlowfishOpenSsl, EveryKeyLengthMatchesTheReference) {
  std::mt19937 rng(448);
  for (std::size_t round = 0; round < 4 * kMaxKeyBytes; ++round) {
    Bytes key(round % kMaxKeyBytes + 1);
    for (std::uint8_t& b : key) b = static_cast<std::uint8_t>(rng());
    BF_KEY reference;
    BF_set_key(&reference, static_cast<int>(key.size()), key.data());
    KeyState state{};
    ASSERT_TRUE(SetKey(state, key));
    ASSERT_TRUE(std::ranges::equal(state.P, reference.P)) << key.size() << " bytes";
    for (std::size_t box = 0; box < kSBoxCount; ++box) {
      ASSERT_TRUE(
          std::ranges::equal(state.S[box], std::span(reference.S + box * kSBoxWords, kSBoxWords)));
    }
    for (int i = 0; i < 16; ++i) {
      std::array<std::uint8_t, 8> block{};
      for (std::uint8_t& b : block) b = static_cast<std::uint8_t>(rng());
      std::array<std::uint8_t, 8> ours = block;
      std::array<std::uint8_t, 8> expected{};
      BF_ecb_encrypt(block.data(), expected.data(), &reference, BF_ENCRYPT);
      EncryptBlock(state, ours);
      ASSERT_EQ(ours, expected);
      BF_ecb_encrypt(expected.data(), expected.data(), &reference, BF_DECRYPT);
      DecryptBlock(state, ours);
      ASSERT_EQ(ours, expected);
    }
  }
}

}  // namespace
}  // namespace quillon
