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

Bytes ByteForm(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The library's text is the hexadecimal Blowfish ciphertext of the padded
// password under the key, exactly as the program's own path makes it.
TEST(Win32HelperLibrary, EncryptsWithTheProjectsOwnCipherAndDecryptsBack) {
  // Byte lengths around the block size, high ANSI bytes, quotes and blanks.
  const std::string passwords[] = {"", "a", "secret", "8 bytes!", "exactly sixteen!",
                                   "P\xE4ssw\xF6rd \xA7 1", "with \"quotes\" and  blanks"};
  Win32HelperLibrary library;
  for (const std::string& password : passwords) {
    SCOPED_TRACE(password);
    ASSERT_TRUE(SetKey(ByteForm(kKey)));
    const std::string expected = BytesToHex(EncryptBytes(ByteForm(password)));
    const HelperResult stored = library.EncryptString(kKey, password);
    ASSERT_EQ(stored.status, HelperStatus::Ok);
    EXPECT_EQ(stored.text, expected);
    const HelperResult back = library.DecryptString(kKey, stored.text);
    ASSERT_EQ(back.status, HelperStatus::Ok);
    EXPECT_EQ(back.text, password);
  }
}

TEST(Win32HelperLibrary, KeyTheCipherRefusesGivesNoText) {
  Win32HelperLibrary library;
  for (const std::string& key : {std::string(), std::string(57, 'k')}) {
    EXPECT_EQ(library.EncryptString(key, "secret").status, HelperStatus::Ok);
    EXPECT_EQ(library.EncryptString(key, "secret").text, "") << key.size() << "-byte key";
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

TEST(Win32HelperLibrary, MissingLibraryOrExportIsReportedWithoutText) {
  const std::pair<const char*, HelperStatus> cases[] = {
      {"quillonc-not-installed.dll", HelperStatus::LibraryMissing},
      {"kernel32.dll", HelperStatus::ExportMissing}};
  for (const auto& [module, status] : cases) {
    Win32HelperLibrary library(module);
    const HelperResult encrypted = library.EncryptString(kKey, "secret");
    EXPECT_EQ(encrypted.status, status) << module;
    EXPECT_EQ(encrypted.text, "") << module;
    EXPECT_EQ(library.DecryptString(kKey, "0123456789ABCDEF").status, status) << module;
  }
}

}  // namespace
}  // namespace quillon
