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

// Every place a setting may have a copy.
constexpr std::array<CopyPlace, 7> kCopyPlaces{{
    {FoundAt::LegacyUserKey, kLegacyUserKey, false},
    {FoundAt::UserKey, kUserProductKey, false},
    {FoundAt::MachineKey64BitView, kMachineProductKey, true},
    {FoundAt::MachineKey, kMachineProductKey, false},
    {FoundAt::EnvironmentKey, kEnvironmentKey, false},
    {FoundAt::SaveDialogKey, kSaveDialogKey, false},
    {FoundAt::UserEnvironmentKey, kUserEnvironmentKey, false},
}};

constexpr std::array<FoundAt, 4> kClearOrder{FoundAt::MachineKey, FoundAt::UserKey,
                                             FoundAt::LegacyUserKey, FoundAt::MachineKey64BitView};

// The places the load reads a setting stored per user or for all users, in
// the order it tries them: kLookupOrder less the 64-bit view, which the
// number reads reach at each place on their own.
constexpr std::array<FoundAt, 3> kUserFirstPlaces{FoundAt::LegacyUserKey, FoundAt::UserKey,
                                                  FoundAt::MachineKey};
constexpr std::array<FoundAt, 1> kMachinePlace{FoundAt::MachineKey};
constexpr std::array<FoundAt, 1> kEnvironmentPlace{FoundAt::EnvironmentKey};

// One search of the load over the copies of a value, noting what it made of
// each: the first copy it accepts is taken, any later one it would accept is
// hidden behind it. A key with one view, read in both, is noted once.
template <typename Data>
class Search {
 public:
  explicit Search(Data fallback) { found_.data = std::move(fallback); }

  bool HasWinner() const { return found_.at != FoundAt::Nowhere; }
  void Note(FoundAt at, Verdict verdict, long error, const Data& data) {
    if (std::ranges::find(found_.looks, at, &Look::at) != found_.looks.end()) return;
    if (verdict == Verdict::Taken && HasWinner()) verdict = Verdict::Hidden;
    if (verdict == Verdict::Taken) {
      found_.data = data;
      found_.at = at;
    }
    found_.looks.push_back({at, verdict, error});
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

const CopyPlace& PlaceOf(FoundAt at) { return *std::ranges::find(kCopyPlaces, at, &CopyPlace::at); }

SettingLocations::SettingLocations(RegistryAccess& registry) : registry_(registry) {}

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
  return FindText(kUserFirstPlaces, name, true);
}

Found<std::int32_t> SettingLocations::FindLong(const std::string& name, std::int32_t defaultValue) {
  return FindNumber(kUserFirstPlaces, name, defaultValue, [](std::int32_t) { return true; });
}

Found<std::int32_t> SettingLocations::FindNonZeroLong(const std::string& name) {
  return FindNumber(kUserFirstPlaces, name, 0, [](std::int32_t number) { return number != 0; });
}

Found<std::string> SettingLocations::GetMachineString(const std::string& name) {
  return FindText(kMachinePlace, name, false);
}

Found<std::int32_t> SettingLocations::GetMachineLong(const std::string& name) {
  return FindNumber(kMachinePlace, name, 0, [](std::int32_t) { return true; });
}

Found<std::string> SettingLocations::GetEnvironmentString(const std::string& name) {
  return FindText(kEnvironmentPlace, name, false);
}

Found<std::string> SettingLocations::FindText(std::span<const FoundAt> places,
                                              const std::string& name, bool emptyIsSkipped) {
  Search<std::string> search({});
  for (const FoundAt at : places) {
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
    search.Note(at, verdict, read.error, read.data);
  }
  return std::move(search).Result();
}

// At each place the 64-bit view's number, when it has one, is the place's
// number, and its default view is not read; `accept` then decides whether
// the place's number ends the search.
template <typename Accept>
Found<std::int32_t> SettingLocations::FindNumber(std::span<const FoundAt> places,
                                                 const std::string& name, std::int32_t fallback,
                                                 Accept accept) {
  Search<std::int32_t> search(fallback);
  for (const FoundAt at : places) {
    if (search.HasWinner() && depth_ == LookDepth::UpToTheWinner) break;
    bool placeHasNumber = false;
    for (const bool use64BitView : {true, false}) {
      const bool windowReads = !search.HasWinner() && !placeHasNumber;
      if (!windowReads && depth_ == LookDepth::UpToTheWinner) break;
      if (use64BitView && !registry_.Is64BitWindows()) continue;
      const Location& location = PlaceOf(at).location;
      const NumberRead read =
          registry_.ReadLong(location, name, use64BitView,
                             windowReads ? OnOpenFailure::Show : OnOpenFailure::StaySilent);
      Verdict verdict = VerdictOf(read);
      if (verdict == Verdict::Taken) {
        if (!accept(read.data)) {
          verdict = Verdict::ZeroSkipped;
        } else if (placeHasNumber) {
          verdict = Verdict::Hidden;
        }
        placeHasNumber = true;
      }
      const bool machine64 = use64BitView && at == FoundAt::MachineKey;
      search.Note(machine64 ? FoundAt::MachineKey64BitView : at, verdict, read.error, read.data);
    }
  }
  return std::move(search).Result();
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
  // On 32-bit Windows there is no 64-bit view: the flag would reach the
  // default view's copy a second time.
  if (place.use64BitView && !registry_.Is64BitWindows()) return true;
  return registry_.DeleteValue(place.location, name, place.use64BitView);
}

}  // namespace quillon
