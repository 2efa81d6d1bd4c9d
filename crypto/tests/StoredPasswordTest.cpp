// The stored-password encoding on both paths: the own cipher where Windows is
// 64-bit, the helper library elsewhere, chosen afresh on every call.
#include "crypto/StoredPassword.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "crypto/basBlowfish.h"
#include "crypto/basBlowfishByteFns.h"
#include "crypto/basConvert.h"
#include "crypto/substitute/SubstituteHelperLibrary.h"
#include "platform/substitute/RecordedMessageBoxes.h"
#include "settings/SettingLocations.h"
#include "settings/substitute/SubstituteRegistry.h"

namespace quillon {
namespace {

using Windows = SubstituteRegistry::Windows;
const std::string kKey(kStoredPasswordKey);

struct Codec {
  explicit Codec(Windows windows) : registry(windows) {}
  SubstituteRegistry registry;
  RecordedMessageBoxes messages;
  RegistryAccess access{registry, messages};
  SubstituteHelperLibrary library;
  StoredPasswordCodec codec{access, library};
};

bool IsUpperHex(const std::string& text) {
  return text.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

TEST(StoredPassword, EmptyInEmptyOutOnBothPathsTouchingNothing) {
  for (const Windows windows : {Windows::Bits64, Windows::Bits32}) {
    Codec c(windows);
    SetKey(Bytes{1, 2, 3});
    const PArray before = CurrentKeyState().P;
    EXPECT_EQ(c.codec.EncryptPassword(kKey, ""), PasswordResult{});
    EXPECT_EQ(c.codec.DecryptPassword(kKey, ""), PasswordResult{});
    EXPECT_EQ(CurrentKeyState().P, before);
    EXPECT_EQ(c.library.encryptCalls + c.library.decryptCalls, 0);
  }
}

TEST(StoredPassword, OwnPathStoresWholeBlocksOfUpperCaseHex) {
  Codec c(Windows::Bits64);
  const std::pair<std::string, std::size_t> cases[] = {
      {"a", 16}, {"1234567", 16}, {"12345678", 32}, {"123456789012345", 32},
      {"1234567890123456", 48}};
  for (const auto& [password, digits] : cases) {
    const PasswordResult stored = c.codec.EncryptPassword(kKey, password);
    EXPECT_EQ(stored.status, PasswordStatus::Ok);
    EXPECT_EQ(stored.text.size(), digits) << password;
    EXPECT_TRUE(IsUpperHex(stored.text)) << stored.text;
    EXPECT_EQ(c.codec.EncryptPassword(kKey, password), stored) << "no random start value";
  }
  const std::string a = c.codec.EncryptPassword(kKey, "sharedAAfirst").text;
  const std::string b = c.codec.EncryptPassword(kKey, "sharedAAsecond").text;
  EXPECT_EQ(a.substr(0, 16), b.substr(0, 16));
  EXPECT_NE(a.substr(16), b.substr(16));
  EXPECT_EQ(c.library.encryptCalls, 0);
}

TEST(StoredPassword, RoundTripsOnBothPathsWhateverKeyWasSetBefore) {
  // Bytes above 0x7F stand for the ANSI code page's own characters.
  const std::string passwords[] = {"x", "Passw0rd", "exactly8", "with \"quotes\" %s",
                                   "\xE4\xF6\xFC\xDF\x80\xFF", std::string(100, 'z')};
  for (const Windows windows : {Windows::Bits64, Windows::Bits32}) {
    Codec c(windows);
    for (const std::string& password : passwords) {
      const PasswordResult stored = c.codec.EncryptPassword(kKey, password);
      SetKey(Bytes{9, 9, 9});
      EXPECT_EQ(c.codec.DecryptPassword(kKey, stored.text),
                (PasswordResult{PasswordStatus::Ok, password}));
    }
  }
  Codec own(Windows::Bits64);
  std::string lowerCase = own.codec.EncryptPassword(kKey, "Secret").text;
  for (char& digit : lowerCase) digit = static_cast<char>(std::tolower(digit));
  EXPECT_EQ(own.codec.DecryptPassword(kKey, lowerCase).text, "Secret");
}

// Cipher text of chosen plain bytes, whose padding a real encryption never makes.
std::string CipherTextOf(const Bytes& plain) {
  SetKey(Bytes(kKey.begin(), kKey.end()));
  return BytesToHex(CryptBlocks(plain, true));
}

TEST(StoredPassword, OwnPathRefusesTextsNoEncryptionMakes) {
  Codec c(Windows::Bits64);
  const std::string valid = c.codec.EncryptPassword(kKey, "Secret").text;
  const std::string notCipherText[] = {
      "ABC",
      valid.substr(0, 15),
      valid + "00",
      "ZZ" + valid.substr(2),
      "12 4567890ABCDEF",
      CipherTextOf({'a', 'b', 'c', 'd', 'e', 'f', 'g', 0x00}),
      CipherTextOf({'a', 'b', 'c', 'd', 'e', 'f', 'g', 0x09}),
      CipherTextOf({'a', 'b', 'c', 'd', 'e', 'f', 0x03, 0x02}),
  };
  for (const std::string& stored : notCipherText) {
    EXPECT_EQ(c.codec.DecryptPassword(kKey, stored),
              (PasswordResult{PasswordStatus::NotCipherText, ""}))
        << stored;
  }
}

TEST(StoredPassword, LibraryPathPassesKeyAndTextAndReportsWhatFails) {
  Codec c(Windows::Bits32);
  EXPECT_EQ(c.codec.EncryptPassword(kKey, "pw").text,
            SubstituteHelperLibrary::StoredFormOf(kKey, "pw"));
  c.library.encryptStatus = HelperStatus::LibraryMissing;
  c.library.decryptStatus = HelperStatus::ExportMissing;
  EXPECT_EQ(c.codec.EncryptPassword(kKey, "pw"),
            (PasswordResult{PasswordStatus::LibraryMissing, ""}));
  EXPECT_EQ(c.codec.DecryptPassword(kKey, "anything"),
            (PasswordResult{PasswordStatus::ExportMissing, ""}));
  EXPECT_TRUE(c.messages.shown.empty());
}

TEST(StoredPassword, PathIsChosenAfreshOnEveryCall) {
  Codec c(Windows::Bits64);
  EXPECT_TRUE(IsUpperHex(c.codec.EncryptPassword(kKey, "pw").text));
  c.registry.PutValue(kEnvironmentKey.root, kEnvironmentKey.path, RegistryView::Default,
                      kProcessorArchitectureValue, kRegSz, TextBytes("x86"));
  EXPECT_EQ(c.codec.EncryptPassword(kKey, "pw").text,
            SubstituteHelperLibrary::StoredFormOf(kKey, "pw"));
  EXPECT_EQ(c.library.encryptCalls, 1);
}

}  // namespace
}  // namespace quillon
