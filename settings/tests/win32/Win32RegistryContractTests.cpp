// The registry contract on the real registry, through advapi32.
#include <windows.h>

#include "settings/tests/RegistryContract.h"
#include "settings/win32/Win32Registry.h"

namespace quillon {
namespace {

void RemoveScratchKeys(const std::string& scratch) {
  for (const auto& [root, view] : {std::pair{HKEY_CURRENT_USER, REGSAM{0}},
                                   {HKEY_LOCAL_MACHINE, REGSAM{KEY_WOW64_32KEY}},
                                   {HKEY_LOCAL_MACHINE, REGSAM{KEY_WOW64_64KEY}}}) {
    HKEY software = nullptr;
    if (RegOpenKeyExA(root, "Software", 0, KEY_ALL_ACCESS | view, &software)) continue;
    RegDeleteTreeA(software, scratch.c_str());  // a key that is not there is fine
    RegCloseKey(software);
  }
}

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryBackend{
                             "Win32", [] { return std::unique_ptr<Registry>(new Win32Registry); },
                             RemoveScratchKeys}));

}  // namespace
}  // namespace quillon
