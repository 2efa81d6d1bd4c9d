// The scope operations: thin compositions of the registry operations over the
// fixed locations.
#include "settings/SettingLocations.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace quillon {
namespace {

struct CopyPlace {
  ProductCopy copy;
  Location location;
  bool use64BitView;
};

// Every place a product value may have a copy.
constexpr std::array<CopyPlace, 4> kCopyPlaces{{
    {ProductCopy::Machine, kMachineProductKey, false},
    {ProductCopy::User, kUserProductKey, false},
    {ProductCopy::Legacy, kLegacyUserKey, false},
    {ProductCopy::Machine64BitView, kMachineProductKey, true},
}};

constexpr std::array<ProductCopy, 4> kClearOrder{ProductCopy::Machine, ProductCopy::User,
                                                ProductCopy::Legacy, ProductCopy::Machine64BitView};

const CopyPlace& PlaceOf(ProductCopy copy) {
  return *std::find_if(kCopyPlaces.begin(), kCopyPlaces.end(),
                       [copy](const CopyPlace& place) { return place.copy == copy; });
}

const Location& ScopeLocation(bool allUsers) {
  return allUsers ? kMachineProductKey : kUserProductKey;
}

// The copies a value stored in one scope leaves behind, in the order they are removed.
std::span<const ProductCopy> CopiesOutsideScope(bool allUsers) {
  static constexpr std::array<ProductCopy, 2> kOutsideMachineScope{ProductCopy::Legacy,
                                                                   ProductCopy::User};
  static constexpr std::array<ProductCopy, 2> kOutsideUserScope{ProductCopy::Legacy,
                                                                ProductCopy::Machine};
  return allUsers ? std::span<const ProductCopy>(kOutsideMachineScope)
                  : std::span<const ProductCopy>(kOutsideUserScope);
}

ProductCopy ScopeCopy(bool allUsers) { return allUsers ? ProductCopy::Machine : ProductCopy::User; }

std::size_t LookupRank(ProductCopy copy) {
  return static_cast<std::size_t>(std::ranges::find(kLookupOrder, copy) - kLookupOrder.begin());
}

struct NamedCopy {
  const std::string* name;
  ProductCopy copy;
};

}  // namespace

SettingLocations::SettingLocations(RegistryAccess& registry) : registry_(registry) {}

bool SettingLocations::SaveProductString(bool allUsers, const std::string& name,
                                         const std::string& text) {
  const Location& target = ScopeLocation(allUsers);
  const bool saved = registry_.SaveString(target.root, target.path, name, text);
  return RemoveProductCopies(name, CopiesOutsideScope(allUsers)) && saved;
}

// Stored for the current user, a number also loses its per-user legacy copy,
// just as a string does; nothing the program writes lives anywhere else.
bool SettingLocations::SaveProductLong(bool allUsers, const std::string& name,
                                       std::int32_t number) {
  const Location& target = ScopeLocation(allUsers);
  const bool saved = registry_.SaveLong(target.root, target.path, name, number);
  return RemoveProductCopies(name, CopiesOutsideScope(allUsers)) && saved;
}

bool SettingLocations::ClearProductValue(const std::string& name) {
  return RemoveProductCopies(name, kClearOrder);
}

bool SettingLocations::RemoveProductCopies(const std::string& name,
                                           std::span<const ProductCopy> copies) {
  bool allGone = true;
  for (const ProductCopy copy : copies) allGone = RemoveProductCopy(copy, name) && allGone;
  return allGone;
}

bool SettingLocations::ReplaceSetting(std::span<const std::string> names,
                                      const std::optional<SettingWrite>& write) {
  // Every copy of every name, the one a load finds first at the front.
  std::vector<NamedCopy> ranked;
  for (const std::string& name : names) {
    for (const ProductCopy copy : kLookupOrder) ranked.push_back({&name, copy});
  }
  std::vector<NamedCopy> removals;
  if (!write) {
    removals.assign(ranked.rbegin(), ranked.rend());
  } else {
    if (!WriteAtScope(names[write->nameIndex], *write)) return false;
    const auto kept = ranked.begin() + static_cast<std::ptrdiff_t>(
                                           write->nameIndex * kLookupOrder.size() +
                                           LookupRank(ScopeCopy(write->allUsers)));
    // Those found before the new value, the nearest first; then those found
    // after it, the last first.
    removals.assign(std::make_reverse_iterator(kept), ranked.rend());
    removals.insert(removals.end(), ranked.rbegin(), std::make_reverse_iterator(std::next(kept)));
  }
  for (const NamedCopy& removal : removals) {
    if (!RemoveProductCopy(removal.copy, *removal.name)) return false;
  }
  return true;
}

bool SettingLocations::SaveMachineLong(const std::string& name, std::int32_t number) {
  return registry_.SaveLong(kMachineProductKey.root, kMachineProductKey.path, name, number);
}

std::int32_t SettingLocations::GetMachineLong(const std::string& name) {
  return registry_.GetLongAnyView(kMachineProductKey.root, kMachineProductKey.path, name, 0);
}

std::string SettingLocations::GetLegacyUserString(const std::string& name) {
  return registry_.GetStringIfKeyExists(kLegacyUserKey.root, kLegacyUserKey.path, name);
}

bool SettingLocations::WriteAtScope(const std::string& name, const SettingWrite& write) {
  const Location& target = ScopeLocation(write.allUsers);
  if (const auto* text = std::get_if<std::string>(&write.data)) {
    return registry_.SaveString(target.root, target.path, name, *text);
  }
  return registry_.SaveLong(target.root, target.path, name, std::get<std::int32_t>(write.data));
}

bool SettingLocations::RemoveProductCopy(ProductCopy copy, const std::string& name) {
  const CopyPlace& place = PlaceOf(copy);
  // On 32-bit Windows there is no 64-bit view: the flag would reach the
  // default view's copy a second time.
  if (place.use64BitView && !registry_.Is64BitWindows()) return true;
  return registry_.DeleteValue(place.location.root, place.location.path, name,
                               place.use64BitView);
}

}  // namespace quillon
