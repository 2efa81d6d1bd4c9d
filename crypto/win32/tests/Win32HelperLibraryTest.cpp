// The loader against the real quillonc.dll beside this program, and against
// a missing library and a library without the exports.
#include "crypto/win32/Win32HelperLibrary.h"

#include <gtest/gtest.h>

#include "crypto/basBlowfish.h"
#include "crypto/basBlowfishByteFns.h"
#include "crypto/basConvert.h"

namespace quillon {
namespace {

const std::string kKey = "Tq48mZr61PwXd";

// Byte lengths around the block size, high ANSI bytes, quotes and blanks.
const std::string kPasswords[] = {
    "a",
    "secret",
    "8 bytes!",
    "exactly sixteen!",
    "P\xE4ssw\xF6rd \xA7 1",
    "with \"quotes\" and  blanks",
};

Bytes ByteForm(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(Win32HelperLibrary, DecryptUndoesEncrypt) {
  Win32HelperLibrary library;
  for (const std::string& password : kPasswords) {
    const HelperResult stored = library.EncryptString(kKey, password);
    ASSERT_EQ(stored.status, HelperStatus::Ok) << password;
    const HelperResult back = library.DecryptString(kKey, stored.text);
    ASSERT_EQ(back.status, HelperStatus::Ok) << password;
    EXPECT_EQ(back.text, password);
  }
}

// The library's text is the hexadecimal Blowfish ciphertext of the padded
// password under the key, exactly as the program's own path makes it.
TEST(Win32HelperLibrary, EncryptsWithTheProjectsOwnCipher) {
  Win32HelperLibrary library;
  for (const std::string& password : kPasswords) {
    ASSERT_TRUE(SetKey(ByteForm(kKey)));
    const std::string expected = BytesToHex(EncryptBytes(ByteForm(password)));
    EXPECT_EQ(library.EncryptString(kKey, password).text, expected) << password;
  }
}

TEST(Win32HelperLibrary, EmptyPasswordRoundTripsThroughOnePaddingBlock) {
  Win32HelperLibrary library;
  const HelperResult stored = library.EncryptString(kKey, "");
  EXPECT_EQ(stored.text.size(), 16u);
  EXPECT_EQ(library.DecryptString(kKey, stored.text).text, "");
}

TEST(Win32HelperLibrary, KeyTheCipherRefusesGivesNoText) {
  Win32HelperLibrary library;
  for (const std::string& key : {std::string(), std::string(57, 'k')}) {
    const HelperResult stored = library.EncryptString(key, "secret");
    EXPECT_EQ(stored.status, HelperStatus::Ok);
    EXPECT_EQ(stored.text, "") << key.size() << "-byte key";
    EXPECT_EQ(library.DecryptString(key, "0123456789ABCDEF").text, "") << key.size() << "-byte key";
  }
}

TEST(Win32HelperLibrary, LoadsOnFirstUseAndKeepsTheLibraryWhileItLives) {
  {
    Win32HelperLibrary library;
    EXPECT_EQ(GetModuleHandleA(kHelperLibraryName), nullptr);
    library.EncryptString(kKey, "secret");
    EXPECT_NE(GetModuleHandleA(kHelperLibraryName), nullptr);
    library.DecryptString(kKey, "0123456789ABCDEF");
    EXPECT_NE(GetModuleHandleA(kHelperLibraryName), nullptr);
  }
  EXPECT_EQ(GetModuleHandleA(kHelperLibraryName), nullptr);
}

TEST(Win32HelperLibrary, MissingLibrary) {
  Win32HelperLibrary library("quillonc-not-installed.dll");
  const HelperResult encrypted = library.EncryptString(kKey, "secret");
  EXPECT_EQ(encrypted.status, HelperStatus::LibraryMissing);
  EXPECT_EQ(encrypted.text, "");
  EXPECT_EQ(library.DecryptString(kKey, "0123456789ABCDEF").status, HelperStatus::LibraryMissing);
}

TEST(Win32HelperLibrary, LibraryWithoutTheExports) {
  Win32HelperLibrary library("kernel32.dll");
  EXPECT_EQ(library.EncryptString(kKey, "secret").status, HelperStatus::ExportMissing);
  EXPECT_EQ(library.DecryptString(kKey, "0123456789ABCDEF").status, HelperStatus::ExportMissing);
}

}  // namespace
}  // namespace quillon
