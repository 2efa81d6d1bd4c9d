// The two ways the loader of quillonc.dll fails. That the library beside the
// program loads and answers through its plain export names, which a 32-bit
// build decorates unless its .def file strips them, the end-to-end scenario
// of the passwords shows with the known stored forms.
#include <gtest/gtest.h>

#include <string>

#include "crypto/StoredPassword.h"
#include "crypto/win32/Win32HelperLibrary.h"
#include "crypto/win32/tests/KnownPasswords.h"

namespace quillon {
namespace {

const std::string kKey(kStoredPasswordKey);

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
