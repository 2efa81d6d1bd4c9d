// The registry contract on the real registry, through advapi32.
#include <windows.h>

#include "settings/SettingLocations.h"
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

// The raw bytes of a value as a program asking for one view reads them.
std::string ReadInView(HKEY root, const std::string& path, const char* value, DWORD viewFlag) {
  std::string data(64, '\0');
  DWORD size = static_cast<DWORD>(data.size());
  if (RegGetValueA(root, path.c_str(), value, RRF_RT_ANY | viewFlag, nullptr, data.data(),
                   &size) != ERROR_SUCCESS) {
    return "(unreadable)";
  }
  data.resize(size);
  return data;
}

// Keys outside HKEY_LOCAL_MACHINE\Software are opened without a view flag;
// that is sound only while either flag reaches the very same key.
TEST(Win32Registry, KeysWithOneViewAreTheSameKeyUnderEitherViewFlag) {
  const std::string name = "QuillonContract.OneView";
  const std::string path = "Software\\" + name;
  const std::string stored = "seen";
  Win32Registry registry;
  KeyHandle key{};
  ASSERT_EQ(registry.CreateKey(RootKey::CurrentUser, path, KeyAccess::Write, RegistryView::Default,
                               key),
            kErrorSuccess);
  ASSERT_EQ(registry.SetValue(key, "text", kRegSz,
                              std::span(reinterpret_cast<const std::uint8_t*>(stored.c_str()),
                                        stored.size() + 1)),
            kErrorSuccess);
  registry.CloseKey(key);
  const std::string asStored(stored.c_str(), stored.size() + 1);
  EXPECT_EQ(ReadInView(HKEY_CURRENT_USER, path, "text", RRF_SUBKEY_WOW6432KEY), asStored);
  EXPECT_EQ(ReadInView(HKEY_CURRENT_USER, path, "text", RRF_SUBKEY_WOW6464KEY), asStored);
  Win32Backend().RemoveScratchKeys(name);

  const std::string environment = kEnvironmentKey.path;
  EXPECT_EQ(ReadInView(HKEY_LOCAL_MACHINE, environment, kProcessorArchitectureValue,
                       RRF_SUBKEY_WOW6432KEY),
            std::string("AMD64", 6));
  EXPECT_EQ(ReadInView(HKEY_LOCAL_MACHINE, environment, kProcessorArchitectureValue,
                       RRF_SUBKEY_WOW6464KEY),
            std::string("AMD64", 6));
}

}  // namespace
}  // namespace quillon
