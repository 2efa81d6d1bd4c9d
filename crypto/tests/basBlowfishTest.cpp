// Blowfish on word pairs: published vectors and the key-length rules of
// SetKey. Keys of every length, one after another, are compared with a
// reference implementation in the differential test.
#include "crypto/basBlowfish.h"

#include <gtest/gtest.h>

#include <random>

#include "crypto/basBlfArrays.h"
#include "crypto/basConvert.h"
#include "crypto/tests/RandomBytes.h"

namespace quillon {
namespace {

bool operator==(const KeyState& a, const KeyState& b) { return a.P == b.P && a.S == b.S; }

TEST(basBlowfish, PublishedVectorsEncryptAndDecrypt) {
  // Published ECB vectors for 8-byte keys: key, plain left and right, cipher left and right.
  const struct {
    const char* keyHex;
    std::uint32_t plainLeft, plainRight, cipherLeft, cipherRight;
  } vectors[] = {
      {"0000000000000000", 0x00000000, 0x00000000, 0x4EF99745, 0x6198DD78},
      {"FFFFFFFFFFFFFFFF", 0xFFFFFFFF, 0xFFFFFFFF, 0x51866FD5, 0xB85ECB8A},
      {"3000000000000000", 0x10000000, 0x00000001, 0x7D856F9A, 0x613063F2},
      {"1111111111111111", 0x11111111, 0x11111111, 0x2466DD87, 0x8B963C9D},
      {"0123456789ABCDEF", 0x11111111, 0x11111111, 0x61F9C380, 0x2281B096},
      {"1111111111111111", 0x01234567, 0x89ABCDEF, 0x7D0CC630, 0xAFDA1EC7},
      {"FEDCBA9876543210", 0x01234567, 0x89ABCDEF, 0x0ACEAB0F, 0xC6A0A28D},
  };
  for (const auto& v : vectors) {
    SCOPED_TRACE(v.keyHex);
    ASSERT_TRUE(SetKey(HexToBytes(v.keyHex)));
    std::uint32_t left = v.plainLeft;
    std::uint32_t right = v.plainRight;
    EncipherWords(left, right);
    EXPECT_EQ(left, v.cipherLeft);
    EXPECT_EQ(right, v.cipherRight);
    DecipherWords(left, right);
    EXPECT_EQ(left, v.plainLeft);
    EXPECT_EQ(right, v.plainRight);
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

}  // namespace
}  // namespace quillon
