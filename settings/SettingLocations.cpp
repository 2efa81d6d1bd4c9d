// The scope operations: thin compositions of the registry operations over the
// fixed locations.
#include "settings/SettingLocations.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace quillon {
namespace {

// Every place a product value may have a copy.
constexpr std::array<CopyPlace, 4> kCopyPlaces{{
    {ProductCopy::Machine, kMachineProductKey, false},
    {ProductCopy::User, kUserProductKey, false},
    {ProductCopy::Legacy, kLegacyUserKey, false},
    {ProductCopy::Machine64BitView, kMachineProductKey, true},
}};

constexpr std::array<ProductCopy, 4> kClearOrder{ProductCopy::Machine, ProductCopy::User,
                                                ProductCopy::Legacy, ProductCopy::Machine64BitView};

// The places the load reads a setting stored per user or for all users, in
// the order it tries them: kLookupOrder less the 64-bit view, which the
// number reads reach through GetLongAnyView at each place.
struct ReadPlace {
  Location location;
  FoundAt at;
};
constexpr std::array<ReadPlace, 3> kReadPlaces{{
    {kLegacyUserKey, FoundAt::LegacyUserKey},
    {kUserProductKey, FoundAt::UserKey},
    {kMachineProductKey, FoundAt::MachineKey},
}};

const Location& ScopeLocation(bool allUsers) {
  return allUsers ? kMachineProductKey : kUserProductKey;
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

const CopyPlace& PlaceOf(ProductCopy copy) {
  return *std::find_if(kCopyPlaces.begin(), kCopyPlaces.end(),
                       [copy](const CopyPlace& place) { return place.copy == copy; });
}

SettingLocations::SettingLocations(RegistryAccess& registry) : registry_(registry) {}

bool SettingLocations::ClearProductValue(const std::string& name) {
  bool allGone = true;
  for (const ProductCopy copy : kClearOrder) allGone = RemoveProductCopy(copy, name) && allGone;
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

Found<std::string> SettingLocations::FindString(const std::string& name) {
  for (const ReadPlace& place : kReadPlaces) {
    // The legacy key is the platform's settings store, which reads without
    // creating the key; the product keys are read as every text is.
    std::string text = place.at == FoundAt::LegacyUserKey
                           ? registry_.GetStringIfKeyExists(place.location, name)
                           : registry_.GetString(place.location, name);
    if (!text.empty()) return {std::move(text), place.at};
  }
  return {{}, FoundAt::Nowhere};
}

Found<std::int32_t> SettingLocations::FindLong(const std::string& name, std::int32_t defaultValue) {
  for (const ReadPlace& place : kReadPlaces) {
    const std::int32_t number = registry_.GetLongAnyView(place.location, name, kAbsentNumber);
    if (number != kAbsentNumber) return {number, place.at};
  }
  return {defaultValue, FoundAt::Nowhere};
}

std::int32_t SettingLocations::FindNonZeroLong(const std::string& name) {
  for (const ReadPlace& place : kReadPlaces) {
    const std::int32_t number = registry_.GetLongAnyView(place.location, name, 0);
    if (number != 0) return number;
  }
  return 0;
}

std::string SettingLocations::GetMachineString(const std::string& name) {
  return registry_.GetString(kMachineProductKey, name);
}

std::int32_t SettingLocations::GetMachineLong(const std::string& name) {
  return registry_.GetLongAnyView(kMachineProductKey, name, 0);
}

std::string SettingLocations::GetEnvironmentString(const std::string& name) {
  return registry_.GetString(kEnvironmentKey, name);
}

bool SettingLocations::SaveMachineString(const std::string& name, const std::string& text) {
  return registry_.SaveString(kMachineProductKey, name, text);
}

bool SettingLocations::DeleteMachineValue(const std::string& name) {
  return registry_.DeleteValue(kMachineProductKey, name);
}

bool SettingLocations::SaveEnvironmentString(const std::string& name, const std::string& text) {
  return registry_.SaveString(kEnvironmentKey, name, text);
}

bool SettingLocations::DeleteEnvironmentValue(const std::string& name) {
  return registry_.DeleteValue(kEnvironmentKey, name);
}

bool SettingLocations::DeleteSaveDialogValue(const std::string& name) {
  return registry_.DeleteValue(kSaveDialogKey, name);
}

bool SettingLocations::WriteAtScope(const std::string& name, const SettingWrite& write) {
  const Location& target = ScopeLocation(write.allUsers);
  if (const auto* text = std::get_if<std::string>(&write.data)) {
    return registry_.SaveString(target, name, *text);
  }
  return registry_.SaveLong(target, name, std::get<std::int32_t>(write.data));
}

bool SettingLocations::RemoveProductCopy(ProductCopy copy, const std::string& name) {
  const CopyPlace& place = PlaceOf(copy);
  // On 32-bit Windows there is no 64-bit view: the flag would reach the
  // default view's copy a second time.
  if (place.use64BitView && !registry_.Is64BitWindows()) return true;
  return registry_.DeleteValue(place.location, name, place.use64BitView);
}

}  // namespace quillon
