// quillonc.dll beside this program, loaded by name and called through its
// plain export names, which a 32-bit build decorates unless its .def file
// strips them; and the two ways the loader fails.
#include <gtest/gtest.h>

#include <string>

#include "crypto/StoredPassword.h"
#include "crypto/win32/Win32HelperLibrary.h"
#include "crypto/win32/tests/KnownPasswords.h"

namespace quillon {
namespace {

const std::string kKey(kStoredPasswordKey);

TEST(Win32HelperLibrary, StoresTheKnownCipherTextAndDecodesItBack) {
  Win32HelperLibrary library;
  for (const KnownPassword& password : {kUserPassword, kMasterPassword}) {
    const HelperResult stored = library.EncryptString(kKey, password.plain);
    ASSERT_EQ(stored.status, HelperStatus::Ok) << password.plain;
    EXPECT_EQ(stored.text, password.stored);
    EXPECT_EQ(library.DecryptString(kKey, stored.text).text, password.plain);
  }
}

TEST(Win32HelperLibrary, MissingLibraryOrExportGivesNoText) {
  const std::pair<const char*, HelperStatus> cases[] = {
      {"quillonc-not-installed.dll", HelperStatus::LibraryMissing},
      {"kernel32.dll", HelperStatus::ExportMissing}};
  for (const auto& [module, status] : cases) {
    Win32HelperLibrary library(module);
    const HelperResult stored = library.EncryptString(kKey, kUserPassword.plain);
    EXPECT_EQ(stored.status, status) << module;
    EXPECT_EQ(stored.text, "") << module;
    EXPECT_EQ(library.DecryptString(kKey, kUserPassword.stored).status, status) << module;
  }
}

}  // namespace
}  // namespace quillon
