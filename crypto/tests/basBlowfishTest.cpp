// Blowfish on word pairs: published vectors, the key-length rules of SetKey and
// what survives (or must not survive) from one key to the next.
#include "crypto/basBlowfish.h"

#include <gtest/gtest.h>

#include <random>

#include "crypto/basBlfArrays.h"
#include "crypto/basConvert.h"
#include "crypto/tests/RandomBytes.h"

namespace quillon {
namespace {

bool operator==(const KeyState& a, const KeyState& b) { return a.P == b.P && a.S == b.S; }

struct WordPair {
  std::uint32_t left, right;
};

WordPair Encipher(WordPair pair) {
  EncipherWords(pair.left, pair.right);
  return pair;
}

WordPair Decipher(WordPair pair) {
  DecipherWords(pair.left, pair.right);
  return pair;
}

struct KnownAnswer {
  const char* keyHex;
  WordPair plain, cipher;
};

// Published ECB vectors for 8-byte keys.
const KnownAnswer kKnownAnswers[] = {
    {"0000000000000000", {0x00000000, 0x00000000}, {0x4EF99745, 0x6198DD78}},
    {"FFFFFFFFFFFFFFFF", {0xFFFFFFFF, 0xFFFFFFFF}, {0x51866FD5, 0xB85ECB8A}},
    {"3000000000000000", {0x10000000, 0x00000001}, {0x7D856F9A, 0x613063F2}},
    {"1111111111111111", {0x11111111, 0x11111111}, {0x2466DD87, 0x8B963C9D}},
    {"0123456789ABCDEF", {0x11111111, 0x11111111}, {0x61F9C380, 0x2281B096}},
    {"1111111111111111", {0x01234567, 0x89ABCDEF}, {0x7D0CC630, 0xAFDA1EC7}},
    {"FEDCBA9876543210", {0x01234567, 0x89ABCDEF}, {0x0ACEAB0F, 0xC6A0A28D}},
};

TEST(basBlowfish, PublishedVectorsEncryptAndDecrypt) {
  for (const KnownAnswer& v : kKnownAnswers) {
    ASSERT_TRUE(SetKey(HexToBytes(v.keyHex))) << v.keyHex;
    const WordPair cipher = Encipher(v.plain);
    EXPECT_EQ(cipher.left, v.cipher.left) << v.keyHex;
    EXPECT_EQ(cipher.right, v.cipher.right) << v.keyHex;
    const WordPair plain = Decipher(v.cipher);
    EXPECT_EQ(plain.left, v.plain.left) << v.keyHex;
    EXPECT_EQ(plain.right, v.plain.right) << v.keyHex;
  }
}

// The top byte must pick box 0 and the bottom byte box 3.
TEST(basBlowfish, RoundFunctionIndexesBoxesFromTheTopByte) {
  ASSERT_FALSE(SetKey({}));
  EXPECT_EQ(RoundFunction(0xFF0000FF), ((0x6E85076Au + 0x4B7A70E9u) ^ 0xE93D5A68u) + 0x3AC372E6u);
  EXPECT_EQ(RoundFunction(0x00FFFF00), ((0xD1310BA6u + 0xDB83ADF7u) ^ 0x406000E0u) + 0x3A39CE37u);
}

TEST(basBlowfish, DecipherUndoesEncipherForRandomKeysAndWords) {
  std::mt19937 rng(20240601);
  std::uniform_int_distribution<std::uint32_t> word;
  std::uniform_int_distribution<std::size_t> keyLength(1, kMaxKeyBytes);
  for (int key = 0; key < 20; ++key) {
    ASSERT_TRUE(SetKey(RandomBytes(rng, keyLength(rng))));
    for (int block = 0; block < 50; ++block) {
      const WordPair plain{word(rng), word(rng)};
      const WordPair back = Decipher(Encipher(plain));
      EXPECT_EQ(back.left, plain.left);
      EXPECT_EQ(back.right, plain.right);
    }
  }
}

TEST(basBlowfish, KeyOf56BytesIsAcceptedAnd57IsRefusedKeepingTheState) {
  std::mt19937 rng(56);
  ASSERT_TRUE(SetKey(RandomBytes(rng, 56)));
  const KeyState keyed = CurrentKeyState();
  EXPECT_FALSE(SetKey(RandomBytes(rng, 57)));
  EXPECT_TRUE(CurrentKeyState() == keyed);
}

TEST(basBlowfish, EmptyKeyFailsWithTheUnkeyedInitialTablesInForce) {
  ASSERT_TRUE(SetKey(HexToBytes("0123456789ABCDEF")));
  EXPECT_FALSE(SetKey({}));
  EXPECT_EQ(CurrentKeyState().P, kInitialP);
  EXPECT_EQ(CurrentKeyState().S, kInitialS);
}

TEST(basBlowfish, KeyRepeatsCyclicallySoADoubledKeyGivesTheSameState) {
  ASSERT_TRUE(SetKey(HexToBytes("0123456789ABCDEF")));
  const KeyState once = CurrentKeyState();
  ASSERT_TRUE(SetKey(HexToBytes("0123456789ABCDEF0123456789ABCDEF")));
  EXPECT_TRUE(CurrentKeyState() == once);
}

TEST(basBlowfish, NoTraceOfAnEarlierKeySurvives) {
  const Bytes key = HexToBytes("FEDCBA9876543210AA");
  ASSERT_TRUE(SetKey(key));
  const KeyState fresh = CurrentKeyState();
  ASSERT_TRUE(SetKey(HexToBytes("0011223344556677")));
  ASSERT_TRUE(SetKey(key));
  EXPECT_TRUE(CurrentKeyState() == fresh);
}

}  // namespace
}  // namespace quillon
