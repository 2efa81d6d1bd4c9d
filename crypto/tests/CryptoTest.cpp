// The password protection: Blowfish on published vectors and the key-length
// rules; byte arrays as blocks, padding and hexadecimal; the stored passwords
// on both paths. The key schedule meets a key of another length in the
// stored forms the window's test and the helper library's compare; the
// codecs' round trips are the fuzz targets' invariants.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "crypto/StoredPassword.h"
#include "crypto/basBlfArrays.h"
#include "crypto/basBlowfishByteFns.h"
#include "crypto/basConvert.h"
#include "crypto/substitute/SubstituteHelperLibrary.h"
#include "platform/substitute/RecordedMessageBoxes.h"
#include "settings/substitute/SubstituteRegistry.h"

namespace quillon {
namespace {

TEST(basBlowfish, PublishedVectorsEncryptAndDecrypt) {
  const struct {
    const char* keyHex;
    std::uint32_t plainLeft, plainRight, cipherLeft, cipherRight;
  } vectors[] = {{"0000000000000000", 0x00000000, 0x00000000, 0x4EF99745, 0x6198DD78},
                 {"FFFFFFFFFFFFFFFF", 0xFFFFFFFF, 0xFFFFFFFF, 0x51866FD5, 0xB85ECB8A},
                 {"3000000000000000", 0x10000000, 0x00000001, 0x7D856F9A, 0x613063F2},
                 {"1111111111111111", 0x11111111, 0x11111111, 0x2466DD87, 0x8B963C9D},
                 {"0123456789ABCDEF", 0x11111111, 0x11111111, 0x61F9C380, 0x2281B096},
                 {"1111111111111111", 0x01234567, 0x89ABCDEF, 0x7D0CC630, 0xAFDA1EC7},
                 {"FEDCBA9876543210", 0x01234567, 0x89ABCDEF, 0x0ACEAB0F, 0xC6A0A28D}};
  KeyState state{};
  for (const auto& v : vectors) {
    ASSERT_TRUE(SetKey(state, HexToBytes(v.keyHex)));
    std::uint32_t left = v.plainLeft;
    std::uint32_t right = v.plainRight;
    EncipherWords(state, left, right);
    EXPECT_EQ(std::pair(left, right), std::pair(v.cipherLeft, v.cipherRight)) << v.keyHex;
    DecipherWords(state, left, right);
    EXPECT_EQ(std::pair(left, right), std::pair(v.plainLeft, v.plainRight)) << v.keyHex;
  }
  ASSERT_TRUE(SetKey(state, Bytes(56, 0x5A)));
  const PArray keyed = state.P;
  EXPECT_FALSE(SetKey(state, Bytes(57, 0x01)));
  EXPECT_EQ(state.P, keyed) << "a key too long changes nothing";
  EXPECT_FALSE(SetKey(state, {}));
  EXPECT_EQ(state.P, kInitialP) << "the empty key leaves the unkeyed tables";
}

// Removing the padding trusts the last byte: the fuzz target's invariants.
TEST(basBlowfishByteFns, WholeBlocksArePadded) {
  KeyState state{};
  ASSERT_TRUE(SetKey(state, Bytes(8, 0x00)));
  const Bytes encrypted = CryptBlocks(state, Bytes(12, 0), true);  // bytes after the last block go
  EXPECT_EQ(encrypted, (Bytes{0x4E, 0xF9, 0x97, 0x45, 0x61, 0x98, 0xDD, 0x78}));
  EXPECT_EQ(CryptBlocks(state, encrypted, false), Bytes(8, 0));
  EXPECT_EQ(AddPadding({}), Bytes(8, 8));
  EXPECT_EQ(AddPadding(Bytes(7, 'a')), (Bytes{'a', 'a', 'a', 'a', 'a', 'a', 'a', 1}));
  EXPECT_EQ(AddPadding({'a', 'b', 'c'}), (Bytes{'a', 'b', 'c', 5, 5, 5, 5, 5}));
  EXPECT_EQ(DecryptBytes(state, EncryptBytes(state, Bytes(8, 'a'))), Bytes(8, 'a'));
}

// An odd length reads with a leading "0"; a pair stops at its first non-digit.
TEST(basConvert, BytesBecomeUpperCaseHexAndAnyTextReadsBack) {
  EXPECT_EQ(BytesToHex({0x0A, 0xBF}), "0ABF");
  EXPECT_EQ(HexToBytes("aBc"), (Bytes{0x0A, 0xBC}));
  EXPECT_EQ(HexToBytes("1zz1A \tF"), (Bytes{0x01, 0x00, 0x0A, 0x00}));
}

// The empty password is the empty text, on either path without the library;
// the own path refuses any text no encryption makes.
TEST(StoredPassword, RoundTripsOnBothPathsAndTheOwnRefusesWhatNoEncryptionMakes) {
  const auto cipherTextOf = [](Bytes plain) {
    KeyState state{};
    SetKey(state, Bytes(kStoredPasswordKey.begin(), kStoredPasswordKey.end()));
    return BytesToHex(CryptBlocks(state, plain, true));
  };
  for (const auto windows :
       {SubstituteRegistry::Windows::Bits32, SubstituteRegistry::Windows::Bits64}) {
    SubstituteRegistry registry(windows);
    RecordedMessageBoxes messages;
    RegistryAccess access(registry, messages);
    SettingLocations locations(access);
    SubstituteHelperLibrary library;
    StoredPasswordCodec codec(locations, library);
    for (const std::string password :
         {"", "x", "exactly8", "\xE4\xF6\xDF\x80\xFF", "z 1234567890abc"}) {
      library.status = password.empty() ? HelperStatus::LibraryMissing : HelperStatus::Ok;
      const PasswordResult stored = codec.EncryptPassword(password);
      EXPECT_EQ(codec.DecryptPassword(stored.text), (PasswordResult{PasswordStatus::Ok, password}));
    }
    if (windows == SubstituteRegistry::Windows::Bits32) continue;
    for (const std::string& refused :
         {std::string("ABC"), std::string("5D044FFA2A7F070201234567"),
          std::string("ZD044FFA2A7F0702"), cipherTextOf({'a', 'b', 'c', 'd', 'e', 'f', 'g', 0}),
          cipherTextOf(Bytes(8, 9)), cipherTextOf({'a', 'b', 'c', 'd', 'e', 'f', 3, 2})}) {
      EXPECT_EQ(codec.DecryptPassword(refused).status, PasswordStatus::NotCipherText) << refused;
    }
    EXPECT_EQ(codec.DecryptPassword("5d044ffa2a7f0702").text, "Secret") << "lower case";
    EXPECT_EQ(codec.DecryptPassword(cipherTextOf(Bytes(8, 8))), PasswordResult{});
  }
}

}  // namespace
}  // namespace quillon
