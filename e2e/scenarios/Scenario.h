#pragma once
// What every scenario starts from and ends with: a registry with none of the
// product's values, the real architecture value, a window of the driver's
// own listening for broadcasts; and at the end no utility left running. The
// helpers are the steps scenarios share: opening the utility, applying,
// cancelling, and comparing the registry value by value.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "e2e/driver/Dialogs.h"
#include "e2e/driver/RegistryProbe.h"
#include "e2e/driver/SettingChangeListener.h"
#include "e2e/driver/UtilityProcess.h"
#include "e2e/driver/UtilityWindow.h"
#include "platform/MessageBoxes.h"

namespace quillon::e2e {

// One value at one location, as a scenario expects or finds it.
using StoredValues = std::map<std::pair<Location, std::string>, RegValue>;

// Every value the utility could have written or left: the product
// locations whole, and QUILLONTEMP from the environment key.
StoredValues ReadStoredValues();

// Whether `found` is the value `expected`. RegSetValueExA stores a text
// whose byte count leaves out its NUL together with the NUL that follows it
// in memory (Windows NT does so, and Wine with it), so a text found with one
// NUL more than expected is the text expected.
bool SameValue(const RegValue& expected, const RegValue& found);

// Adds a failure listing each value that is missing, different or
// unexpected.
void ExpectStoredValues(const StoredValues& expected, const StoredValues& found);

inline constexpr char kSettingsSaved[] = "Settings saved.";
// The helper library beside the program, used only where Windows is not
// 64-bit.
inline constexpr char kHelperLibrary[] = "quillonc.dll";

// Passwords and their stored texts under the fixed key: Blowfish in ECB mode
// with PKCS #5 padding as OpenSSL computes it, so independent known answers
// rather than the product's own code.
struct KnownPassword {
  const char* plain;
  const char* stored;
};
inline constexpr KnownPassword kUserPassword{"Secret1", "702F8D9283B1E372"};
inline constexpr KnownPassword kMasterPassword{"Master pass 8", "291C8DDC42117B3BBCF2C327156063E0"};

// What PROCESSOR_ARCHITECTURE says on the prefix's 64-bit Windows; every
// scenario starts and ends with it.
inline constexpr char kNativeArchitecture[] = "AMD64";

class Scenario : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static LaunchOptions DefaultLaunch();

  // Starts the utility and waits for its window.
  [[nodiscard]] bool Open(const LaunchOptions& options = DefaultLaunch());
  // The two halves of Open, for a load that shows a message first.
  [[nodiscard]] bool Launch(const LaunchOptions& options = DefaultLaunch());
  [[nodiscard]] bool WaitForWindow();
  UtilityProcess& Process() { return *process_; }
  UtilityWindow& Window() { return *window_; }

  // The next message box the utility shows; `what` names it for a failure.
  std::optional<ModalBox> NextBox(const std::string& what);
  // No box shows up for a while.
  void ExpectNoBox(const std::string& after);

  // Apply, "Settings saved." confirmed, the program ended.
  [[nodiscard]] bool ApplyAndConfirmSaved();
  // Cancel: no box, the program ended.
  [[nodiscard]] bool CancelAndEnd();

  SettingChangeListener settingChanges_;

 private:
  std::unique_ptr<UtilityProcess> process_;
  std::optional<UtilityWindow> window_;
};

}  // namespace quillon::e2e
