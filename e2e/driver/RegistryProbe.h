#pragma once
// The real registry of the run's Wine prefix as the scenarios seed and read
// it, through advapi32 only. Locations are spelt out here independently of
// the product's code: they are the interface the printer driver relies on,
// and a test that borrowed them from the code would not see a mistake in it.
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quillon::e2e {

enum class Location {
  kMachine,      // HKLM Software\Marrowby\Quillon, the default (32-bit) view
  kMachine64,    // the same key in the 64-bit view
  kUser,         // HKCU Software\Marrowby\Quillon
  kLegacy,       // HKCU Software\VB and VBA Program Settings\Marrowby\Quillon
  kSaveDialog,   // HKCU Software\Marrowby\Quillon\SaveDialog
  kEnvironment,  // HKLM SYSTEM\CurrentControlSet\Control\Session Manager\Environment
};

std::string LocationName(Location where);

// One stored value: its type and its bytes exactly as stored.
struct RegValue {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> bytes;

  static RegValue Text(const std::string& text, DWORD type = REG_EXPAND_SZ);  // no NUL
  // REG_SZ with its NUL, as the per-application settings store and most
  // tools write a text; the form scenarios seed.
  static RegValue TextWithNul(const std::string& text);
  static RegValue Number(std::int32_t number);
  bool operator==(const RegValue&) const = default;
};

std::ostream& operator<<(std::ostream& out, const RegValue& value);

// Every value of one location, by name.
using ValueMap = std::map<std::string, RegValue>;

namespace registry {

// Removes everything the utility could have left: the vendor keys of both
// roots in both views, the legacy keys, and QUILLONTEMP.
void CleanProductKeys();

[[nodiscard]] bool Seed(Location where, const std::string& name, const RegValue& value);
[[nodiscard]] bool SeedText(Location where, const std::string& name, const std::string& text);
[[nodiscard]] bool SeedNumber(Location where, const std::string& name, std::int32_t number);

std::optional<RegValue> Read(Location where, const std::string& name);
ValueMap ReadAll(Location where);

// The machine-wide PROCESSOR_ARCHITECTURE, by which the utility tells
// 64-bit Windows.
std::string ProcessorArchitecture();
[[nodiscard]] bool SetProcessorArchitecture(const std::string& value);

// Makes HKLM Software\Marrowby (default view) a volatile key without the
// product key below it: the utility can then create no key there, and every
// write to the machine product key fails (ERROR_CHILD_MUST_BE_VOLATILE).
[[nodiscard]] bool MakeMachineProductKeyUncreatable();

}  // namespace registry
}  // namespace quillon::e2e
