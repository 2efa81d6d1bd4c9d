// The scope operations: thin compositions of the registry operations over the
// fixed locations.
#include "settings/SettingLocations.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <type_traits>
#include <utility>
#include <vector>

namespace quillon {
namespace {

constexpr bool InDefaultView(FoundAt at) { return PlaceOf(at).view == RegistryView::Default; }

// The lookup order read one key at a time: numbers reach a key's 64-bit view
// as they read the key.
constexpr auto kUserFirstKeys = [] {
  std::array<FoundAt, std::ranges::count_if(kLookupOrder, InDefaultView)> keys{};
  std::ranges::copy_if(kLookupOrder, keys.begin(), InDefaultView);
  return keys;
}();
constexpr auto kUserFirstTextPlaces = kUserFirstKeys;
constexpr std::array<FoundAt, 1> kMachineKey{FoundAt::MachineKey};
constexpr std::array<FoundAt, 2> kMachinePlaces{FoundAt::MachineKey64BitView, FoundAt::MachineKey};
constexpr std::array<FoundAt, 1> kEnvironmentPlace{FoundAt::EnvironmentKey};
constexpr std::array<FoundAt, 2> kEnvironmentCopies{FoundAt::EnvironmentKey,
                                                    FoundAt::UserEnvironmentKey};
constexpr std::array<FoundAt, 1> kSaveDialogPlace{FoundAt::SaveDialogKey};

// Each residence: the keys its reads look in, the places a number and a text
// are read in, and every place a copy of it may lie.
struct ResidenceRule {
  Residence residence;
  std::span<const FoundAt> keys;
  std::span<const FoundAt> numberPlaces;
  std::span<const FoundAt> textPlaces;
  std::span<const FoundAt> copies;
};
constexpr ResidenceRule kResidences[] = {
    {Residence::UserFirst, kUserFirstKeys, kLookupOrder, kUserFirstTextPlaces, kLookupOrder},
    {Residence::MachineKey, kMachineKey, kMachinePlaces, kMachineKey, kLookupOrder},
    {Residence::Environment, kEnvironmentPlace, {}, kEnvironmentPlace, kEnvironmentCopies},
    {Residence::SaveDialog, {}, {}, {}, kSaveDialogPlace},
};

const ResidenceRule& RuleOf(Residence residence) {
  return *std::ranges::find(kResidences, residence, &ResidenceRule::residence);
}

// One search of the load over the copies of a value, noting what it made of
// each: the first copy it accepts is taken, any later one it would accept is
// hidden behind it. A key with one view, read in both, is noted once.
template <typename Data>
class Search {
 public:
  explicit Search(Data fallback) { found_.data = std::move(fallback); }

  bool HasWinner() const { return found_.at != FoundAt::Nowhere; }
  void Note(FoundAt at, Verdict verdict, const ReadResult<Data>& read) {
    if (std::ranges::find(found_.looks, at, &Look::at) != found_.looks.end()) return;
    if (verdict == Verdict::Taken && HasWinner()) verdict = Verdict::Hidden;
    if (verdict == Verdict::Taken) {
      found_.data = read.data;
      found_.at = at;
    }
    found_.looks.push_back({at, verdict, read.error, read.stored});
  }
  Found<Data> Result() && { return std::move(found_); }

 private:
  Found<Data> found_;
};

// Taken stands for a value the read accepts; the caller's rule may still
// pass it over.
template <typename Data>
Verdict VerdictOf(const ReadResult<Data>& read) {
  switch (read.outcome) {
    case ReadOutcome::Found:
      break;
    case ReadOutcome::Absent:
      return Verdict::Absent;
    case ReadOutcome::WrongType:
      return Verdict::WrongType;
    case ReadOutcome::Unreadable:
      return Verdict::Unreadable;
  }
  if constexpr (std::is_same_v<Data, std::int32_t>) {
    if (read.data == kAbsentNumber) return Verdict::StoredMinusOne;
  }
  return Verdict::Taken;
}

const Location& ScopeLocation(bool allUsers) {
  return allUsers ? kMachineProductKey : kUserProductKey;
}

FoundAt ScopeCopy(bool allUsers) { return allUsers ? FoundAt::MachineKey : FoundAt::UserKey; }

std::size_t LookupRank(FoundAt copy) {
  return static_cast<std::size_t>(std::ranges::find(kLookupOrder, copy) - kLookupOrder.begin());
}

struct NamedCopy {
  const std::string* name;
  FoundAt copy;
};

}  // namespace

std::span<const FoundAt> PlacesRead(Residence residence, ValueType type) {
  const ResidenceRule& rule = RuleOf(residence);
  return type == ValueType::Number ? rule.numberPlaces : rule.textPlaces;
}

std::vector<FoundAt> CopiesOf(Residence residence, WindowsWidth width) {
  std::vector<FoundAt> copies;
  for (const FoundAt at : RuleOf(residence).copies) {
    const CopyPlace& place = PlaceOf(at);
    if (place.view == RegistryView::Default ||
        HasTwoViewsOn(width, place.location.root, place.location.path)) {
      copies.push_back(at);
    }
  }
  return copies;
}

std::vector<FoundAt> PlacesTheUtilityUses() {
  std::vector<FoundAt> places;
  for (const CopyPlace& place : kCopyPlaces) {
    if (place.utilityUses) places.push_back(place.at);
  }
  return places;
}

SettingLocations::SettingLocations(RegistryAccess& registry) : registry_(registry) {}

bool SettingLocations::TakesWindowsFor64Bit() {
  if (!takesWindowsFor64Bit_) takesWindowsFor64Bit_ = registry_.Is64BitWindows();
  return *takesWindowsFor64Bit_;
}

void SettingLocations::ClearProductValue(const std::string& name) {
  for (const FoundAt copy : kClearOrder) RemoveProductCopy(copy, name);
}

bool SettingLocations::ReplaceSetting(std::span<const std::string> names,
                                      const std::optional<SettingWrite>& write) {
  // Every copy of every name, the one a load finds first at the front.
  std::vector<NamedCopy> ranked;
  for (const std::string& name : names) {
    for (const FoundAt copy : kLookupOrder) ranked.push_back({&name, copy});
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
  return FindText(Residence::UserFirst, name, true);
}

Found<std::int32_t> SettingLocations::FindLong(const std::string& name, std::int32_t defaultValue) {
  return FindNumber(Residence::UserFirst, name, defaultValue, [](std::int32_t) { return true; });
}

Found<std::int32_t> SettingLocations::FindNonZeroLong(const std::string& name) {
  return FindNumber(Residence::UserFirst, name, 0, [](std::int32_t number) { return number != 0; });
}

Found<std::string> SettingLocations::GetMachineString(const std::string& name) {
  return FindText(Residence::MachineKey, name, false);
}

Found<std::int32_t> SettingLocations::GetMachineLong(const std::string& name) {
  return FindNumber(Residence::MachineKey, name, 0, [](std::int32_t) { return true; });
}

Found<std::string> SettingLocations::GetEnvironmentString(const std::string& name) {
  return FindText(Residence::Environment, name, false);
}

void SettingLocations::LookAtUnreadCopies(Residence residence, const std::string& name,
                                          std::vector<Look>& looks) {
  for (const FoundAt at : RuleOf(residence).copies) {
    if (std::ranges::find(looks, at, &Look::at) != looks.end()) continue;
    const CopyPlace& place = PlaceOf(at);
    const StoredRead read = registry_.ReadStored(place.location, name, place.view);
    if (read.error == kErrorFileNotFound) continue;
    looks.push_back({at, Verdict::NotRead, read.error, read.stored});
  }
}

template <typename Data>
Found<Data> SettingLocations::Finish(Residence residence, const std::string& name,
                                     Found<Data> found) {
  if (depth_ == LookDepth::EveryCopy) LookAtUnreadCopies(residence, name, found.looks);
  return found;
}

Found<std::string> SettingLocations::FindText(Residence residence, const std::string& name,
                                              bool emptyIsSkipped) {
  Search<std::string> search({});
  for (const FoundAt at : PlacesRead(residence, ValueType::Text)) {
    if (search.HasWinner() && depth_ == LookDepth::UpToTheWinner) break;
    const Location& location = PlaceOf(at).location;
    // The legacy key is the platform's settings store, which reads without
    // creating the key; the other keys are read as every text is.
    const TextRead read = at == FoundAt::LegacyUserKey
                              ? registry_.ReadStringIfKeyExists(location, name)
                              : registry_.ReadString(location, name);
    Verdict verdict = VerdictOf(read);
    if (verdict == Verdict::Taken && emptyIsSkipped && read.data.empty()) {
      verdict = Verdict::EmptyText;
    }
    search.Note(at, verdict, read);
  }
  return Finish(residence, name, std::move(search).Result());
}

// At each key the 64-bit view's number, when it has one, is the key's
// number, and its default view is not read; `accept` then decides whether
// the key's number ends the search.
template <typename Accept>
Found<std::int32_t> SettingLocations::FindNumber(Residence residence, const std::string& name,
                                                 std::int32_t fallback, Accept accept) {
  Search<std::int32_t> search(fallback);
  for (const FoundAt at : RuleOf(residence).keys) {
    if (search.HasWinner() && depth_ == LookDepth::UpToTheWinner) break;
    bool keyHasNumber = false;
    for (const RegistryView view : {RegistryView::Wow64_64, RegistryView::Default}) {
      const bool windowReads = !search.HasWinner() && !keyHasNumber;
      if (!windowReads && depth_ == LookDepth::UpToTheWinner) break;
      if (view == RegistryView::Wow64_64 && FirstNumberView() != view) continue;
      const Location& location = PlaceOf(at).location;
      const NumberRead read = registry_.ReadLong(
          location, name, view, windowReads ? OnOpenFailure::Show : OnOpenFailure::StaySilent);
      Verdict verdict = VerdictOf(read);
      if (verdict == Verdict::Taken) {
        if (!accept(read.data)) {
          verdict = Verdict::ZeroSkipped;
        } else if (keyHasNumber) {
          verdict = Verdict::Hidden;
        }
        keyHasNumber = true;
      }
      const bool machine64 = view == RegistryView::Wow64_64 && at == FoundAt::MachineKey;
      search.Note(machine64 ? FoundAt::MachineKey64BitView : at, verdict, read);
    }
  }
  return Finish(residence, name, std::move(search).Result());
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

bool SettingLocations::RemoveProductCopy(FoundAt copy, const std::string& name) {
  const CopyPlace& place = PlaceOf(copy);
  // Apply clears the 64-bit view only where the load reads it.
  if (place.view == RegistryView::Wow64_64 && FirstNumberView() != place.view) return true;
  return registry_.DeleteValue(place.location, name, place.view);
}

}  // namespace quillon
