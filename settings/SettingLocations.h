#pragma once
// Where the printer's settings live, and the two scopes they are stored in: a
// value stored for all users or for the current user is removed from the other
// places, including the machine key's 64-bit view on 64-bit Windows.
#include <cstdint>
#include <span>
#include <string>

#include "settings/RegistryAccess.h"

namespace quillon {

struct Location {
  RootKey root;
  const char* path;
};

inline constexpr const char* kProductKeyPath = "Software\\Marrowby\\Quillon";

// Settings for all users.
inline constexpr Location kMachineProductKey{RootKey::LocalMachine, kProductKeyPath};
// Settings of the current user.
inline constexpr Location kUserProductKey{RootKey::CurrentUser, kProductKeyPath};
// Per-user copies in the per-application settings store (application
// "Marrowby", section "Quillon"); only ever read and removed.
inline constexpr Location kLegacyUserKey{
    RootKey::CurrentUser, "Software\\VB and VBA Program Settings\\Marrowby\\Quillon"};
// The save dialog's own per-user numbers; only ever removed.
inline constexpr Location kSaveDialogKey{RootKey::CurrentUser,
                                         "Software\\Marrowby\\Quillon\\SaveDialog"};
// The system environment.
inline constexpr Location kEnvironmentKey{
    RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment"};
inline constexpr const char* kProcessorArchitectureValue = "PROCESSOR_ARCHITECTURE";

// The places a product value may have a copy, each removable on its own.
enum class ProductCopy { Machine, User, Legacy, Machine64BitView };

class SettingLocations {
 public:
  explicit SettingLocations(RegistryAccess& registry);

  // Each result is true when the operation did all its work: every value
  // written, every copy removed or found absent. Failures are shown as the
  // registry operations show them.

  // Stores at the machine product key (allUsers) or the user product key, then
  // removes the per-user legacy copy and the copy of the other scope.
  bool SaveProductString(bool allUsers, const std::string& name, const std::string& text);
  bool SaveProductLong(bool allUsers, const std::string& name, std::int32_t number);

  // Removes every copy: machine, user, legacy, and the 64-bit view of the
  // machine key on 64-bit Windows.
  bool ClearProductValue(const std::string& name);
  // Removes every copy but one, in the same order.
  bool ClearProductValueExcept(const std::string& name, ProductCopy kept);
  // Removes the given copies in the given order; the 64-bit view only on 64-bit Windows.
  bool RemoveProductCopies(const std::string& name, std::span<const ProductCopy> copies);

  bool SaveMachineLong(const std::string& name, std::int32_t number);
  // The machine-wide number, 64-bit view first; 0 when found nowhere.
  std::int32_t GetMachineLong(const std::string& name);

  // A plain read of a per-user text at the legacy per-user key; "" when absent.
  std::string GetLegacyUserString(const std::string& name);

 private:
  bool RemoveProductCopy(ProductCopy copy, const std::string& name);

  RegistryAccess& registry_;
};

}  // namespace quillon
