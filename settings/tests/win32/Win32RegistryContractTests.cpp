// The registry contract on the real registry, through advapi32.
#include <windows.h>

#include "settings/tests/RegistryContract.h"
#include "settings/win32/Win32Registry.h"

namespace quillon {
namespace {

class Win32Backend final : public RegistryBackend {
 public:
  Registry& registry() override { return registry_; }

  void RemoveScratchKeys(const std::string& name) override {
    RemoveBelowSoftware(HKEY_CURRENT_USER, 0, name);
    RemoveBelowSoftware(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, name);
    RemoveBelowSoftware(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, name);
  }

 private:
  static void RemoveBelowSoftware(HKEY root, REGSAM view, const std::string& name) {
    HKEY software = nullptr;
    if (RegOpenKeyExA(root, "Software", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS) {
      return;
    }
    RegDeleteTreeA(software, name.c_str());  // a key that is not there is fine
    RegCloseKey(software);
  }

  Win32Registry registry_;
};

INSTANTIATE_TEST_SUITE_P(
    Win32, RegistryContract,
    ::testing::Values(BackendMaker{"Win32", []() -> std::unique_ptr<RegistryBackend> {
      return std::make_unique<Win32Backend>();
    }}));

// The default view must be the one the 32-bit release sees: on 64-bit Windows,
// HKEY_LOCAL_MACHINE\Software\Wow6432Node.
TEST(Win32Registry, DefaultViewIsTheThirtyTwoBitView) {
  const std::string name = "QuillonContract.DefaultView";
  Win32Registry registry;
  KeyHandle key{};
  ASSERT_EQ(registry.CreateKey(RootKey::LocalMachine, "Software\\" + name, KeyAccess::Write,
                               RegistryView::Default, key),
            kErrorSuccess);
  EXPECT_EQ(registry.CloseKey(key), kErrorSuccess);
  HKEY seen = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, ("Software\\Wow6432Node\\" + name).c_str(), 0,
                          KEY_READ | KEY_WOW64_64KEY, &seen),
            ERROR_SUCCESS);
  RegCloseKey(seen);
  Win32Backend().RemoveScratchKeys(name);
}

}  // namespace
}  // namespace quillon
