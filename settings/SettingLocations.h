#pragma once
// Where the printer's settings live, and the two scopes they are stored in: a
// value stored for all users or for the current user is removed from the other
// places, including the machine key's 64-bit view on 64-bit Windows.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "settings/RegistryAccess.h"

namespace quillon {

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
// The user's own environment, whose variables override the system's for that
// user's programs; the utility neither reads nor writes it.
inline constexpr Location kUserEnvironmentKey{RootKey::CurrentUser, "Environment"};

// Each place a copy of a setting may live, in the view it is read in.
enum class FoundAt {
  Nowhere,
  LegacyUserKey,
  UserKey,
  MachineKey64BitView,
  MachineKey,  // in the default view
  EnvironmentKey,
  SaveDialogKey,
  UserEnvironmentKey,
};

// Where a copy lives: its key and view, and whether the utility reads or
// clears it there, or only programs that use the setting read it instead.
struct CopyPlace {
  FoundAt at;
  Location location;
  RegistryView view;
  bool utilityUses;
};
inline constexpr std::array<CopyPlace, 7> kCopyPlaces{{
    {FoundAt::LegacyUserKey, kLegacyUserKey, RegistryView::Default, true},
    {FoundAt::UserKey, kUserProductKey, RegistryView::Default, true},
    {FoundAt::MachineKey64BitView, kMachineProductKey, RegistryView::Wow64_64, true},
    {FoundAt::MachineKey, kMachineProductKey, RegistryView::Default, true},
    {FoundAt::EnvironmentKey, kEnvironmentKey, RegistryView::Default, true},
    {FoundAt::SaveDialogKey, kSaveDialogKey, RegistryView::Default, true},
    {FoundAt::UserEnvironmentKey, kUserEnvironmentKey, RegistryView::Default, false},
}};
constexpr const CopyPlace& PlaceOf(FoundAt at) {
  std::size_t index = 0;
  while (kCopyPlaces[index].at != at) ++index;
  return kCopyPlaces[index];
}

// The places a product value may have a copy, in the order in which the load
// looks for one: the first one found wins. Numbers are read from the machine
// key's 64-bit view before its default view; texts never look there, which
// leaves their order unchanged. Apply clears every one of them.
inline constexpr std::array<FoundAt, 4> kLookupOrder{
    FoundAt::LegacyUserKey, FoundAt::UserKey, FoundAt::MachineKey64BitView, FoundAt::MachineKey};
// The order in which a value written by nobody (the title) is cleared.
inline constexpr std::array<FoundAt, 4> kClearOrder{FoundAt::MachineKey, FoundAt::UserKey,
                                                    FoundAt::LegacyUserKey,
                                                    FoundAt::MachineKey64BitView};

enum class ValueType { Text, Number };

// Where one kind of setting lives.
enum class Residence {
  UserFirst,    // legacy, user, then machine product key: the first copy found wins
  MachineKey,   // the machine product key alone; copies elsewhere are not read
  Environment,  // the system environment; the user's own may override it
  SaveDialog,   // the save dialog's own key: never read, only removed
};

// The places the load reads a value of the type in, in its order: the
// machine key's 64-bit view for numbers only, and only where the load reads
// that view.
std::span<const FoundAt> PlacesRead(Residence residence, ValueType type);
// Every place a copy of the setting may lie: those the load reads or Apply
// clears, and those programs that use it read instead; the machine key's
// 64-bit view only where it exists.
std::vector<FoundAt> CopiesOf(Residence residence, WindowsWidth width);
// Every place the utility reads or clears a copy of any setting.
std::vector<FoundAt> PlacesTheUtilityUses();

// What the load made of one copy it looked at.
enum class Verdict {
  Taken,           // the copy whose value the window shows
  Hidden,          // one the load would take were the copies before it gone
  Absent,          // nothing there
  EmptyText,       // an empty text, passed over for the next copy
  StoredMinusOne,  // 0xFFFFFFFF, which a number read takes for no number
  WrongType,       // not of the type the read takes, so read as absent
  ZeroSkipped,     // 0, where only a number that is not 0 counts
  Unreadable,      // the key or the value could not be read
  NotRead,         // a copy the window does not read, looked at for a diagnosis
};

struct Look {
  FoundAt at;
  Verdict verdict;
  long error = kErrorSuccess;  // with Unreadable, and NotRead when it could not be read
  RegistryValue stored;        // what is there, when something is
};

// How far the load reads. The window stops at the copy it takes; a
// diagnosis goes on, judging every further copy by the same rule.
enum class LookDepth { UpToTheWinner, EveryCopy };

// A text or a number, as a setting is stored.
using SettingData = std::variant<std::string, std::int32_t>;

// What a setting that may live under several names is to hold: the data,
// under which of its names, in which scope.
struct SettingWrite {
  std::size_t nameIndex = 0;
  bool allUsers = true;
  SettingData data;
};

// What a read of the load found: the data, where it was taken from, and
// each copy it looked at, in order, with what it made of it.
template <typename Data>
struct Found {
  Data data;
  FoundAt at = FoundAt::Nowhere;
  std::vector<Look> looks;
};

class SettingLocations {
 public:
  explicit SettingLocations(RegistryAccess& registry);

  void SetLookDepth(LookDepth depth) { depth_ = depth; }

  // Whether the utility takes Windows for 64-bit (PROCESSOR_ARCHITECTURE
  // names AMD64), decided once for the numbers and the passwords alike.
  bool TakesWindowsFor64Bit();
  // The view a number is read in first at each key: the 64-bit view on the
  // Windows the utility takes for 64-bit, where Apply also clears it; the
  // default view alone elsewhere.
  RegistryView FirstNumberView() {
    return TakesWindowsFor64Bit() ? RegistryView::Wow64_64 : RegistryView::Default;
  }

  // Reading. A setting stored per user or for all users is looked for in the
  // legacy per-user key, then the user product key, then the machine product
  // key; the first place that holds it wins. Numbers are read at each place
  // 64-bit view first on 64-bit Windows: the place's number is the 64-bit
  // view's unless it has none. Texts are read in the default view only. A
  // number read takes 0xFFFFFFFF for no number.

  // The first text that is not empty; "" found nowhere.
  Found<std::string> FindString(const std::string& name);
  // The first number present; the default found nowhere.
  Found<std::int32_t> FindLong(const std::string& name, std::int32_t defaultValue);
  // The first place's number that is not 0, where a stored 0 does not end
  // the search; 0 when there is none.
  Found<std::int32_t> FindNonZeroLong(const std::string& name);
  // Settings with one place: the machine product key (numbers 64-bit view
  // first, 0 when absent) and the system environment (texts as stored, with
  // references to other variables unexpanded).
  Found<std::string> GetMachineString(const std::string& name);
  Found<std::int32_t> GetMachineLong(const std::string& name);
  Found<std::string> GetEnvironmentString(const std::string& name);

  // Writing. Each result is true when the operation did all its work: every
  // value written, every copy removed or found absent. Failures are shown as
  // the registry operations show them.

  // With every copy: each copy of the residence the read did not look at,
  // looked at now and noted as not read by the window.
  void LookAtUnreadCopies(Residence residence, const std::string& name, std::vector<Look>& looks);

  // Removes every copy: machine, user, legacy, and the 64-bit view of the
  // machine key on 64-bit Windows. A copy that stays is shown as it fails;
  // nothing further depends on it.
  void ClearProductValue(const std::string& name);

  // Write first: stores the setting (or, without a write, removes it), where
  // `names` are the names a load tries in turn, first name first. Only after
  // the write succeeded are the other copies of all the names removed: first
  // those a load would find before the new value, then those it would find
  // after it, each lot starting with the copy a load finds last. The first
  // step that fails ends the operation, so that a load always finds either
  // the old value or the new one, of the setting and of each of its names.
  // After success the registry holds the value at its scope's key alone, just
  // as clearing and then saving leaves it.
  bool ReplaceSetting(std::span<const std::string> names, const std::optional<SettingWrite>& write);

  // Settings with one place, written or removed there alone: the machine
  // product key, the system environment, the save dialog's own key.
  bool SaveMachineString(const std::string& name, const std::string& text);
  bool DeleteMachineValue(const std::string& name);
  bool SaveEnvironmentString(const std::string& name, const std::string& text);
  bool DeleteEnvironmentValue(const std::string& name);
  bool DeleteSaveDialogValue(const std::string& name);

 private:
  template <typename Accept>
  Found<std::int32_t> FindNumber(Residence residence, const std::string& name,
                                 std::int32_t fallback, Accept accept);
  Found<std::string> FindText(Residence residence, const std::string& name, bool emptyIsSkipped);
  template <typename Data>
  Found<Data> Finish(Residence residence, const std::string& name, Found<Data> found);
  bool RemoveProductCopy(FoundAt copy, const std::string& name);
  bool WriteAtScope(const std::string& name, const SettingWrite& write);

  RegistryAccess& registry_;
  LookDepth depth_ = LookDepth::UpToTheWinner;
  std::optional<bool> takesWindowsFor64Bit_;
};

}  // namespace quillon
