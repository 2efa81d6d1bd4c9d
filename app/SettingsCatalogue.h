#pragma once
// The settings catalogue: every registry value the utility reads or writes,
// one row each, and the bit tables that pack check boxes and list items into
// numbers. The load and Apply both walk these tables; no other code spells a
// value name. Rows stand in the order Apply handles them; each carries the
// place where the load reads it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/ControlId.h"

namespace quillon {

enum class ValueType { Text, Number };

// Where the load finds a value.
enum class ReadRule {
  Never,            // only removed, or written from other state
  MachineText,      // the machine product key
  MachineNumber,    // the machine product key, 64-bit view first; absent gives 0
  UserFirstText,    // legacy, user, then machine product key: the first non-empty text
  UserFirstNumber,  // the same places: the first number present, else the default
  EnvironmentText,  // the system environment key
  // Rules of their own, written out beside the load loop:
  FirstNonZero,  // the same places as UserFirstNumber, but 0 does not end the search
  Password,      // a user-first text, decoded
  FileName,      // one control, several names, tried in load order until one
  PostAction,    //   holds a text; what each name means is in its variant
  MergeFile,
};

// How Apply writes a value.
enum class WriteRule {
  // Removed everywhere, then stored at the machine product key when `when`
  // holds. The catalogue's "machine" and "scoped, all users" leave the same
  // registry once every other copy is gone, so they are this one rule.
  AllUsers,
  // The same in the scope chkApplyToAllUsers chooses.
  ChosenScope,
  // Rules of their own, written out beside the Apply loop:
  FileName,    // one of the names, in the chosen scope, by chkPersistent
  PostAction,  // one of the names, in the chosen scope, by chkPersistent and chkPostActionWait
  MergeFile,   // one of the names, in the chosen scope, by cboMergeCommand
  TempFolder,  // never cleared: written or deleted at the environment key, then announced
  Password,    // never cleared: encoded and written, or deleted, at the machine product key
  Persistent,  // 1 in the chosen scope when a job option was written
  SaveDialog,  // deleted at the save dialog key when chkPrintPDF is ticked
};

// When a table row is stored rather than left removed.
enum class StoredWhen {
  Always,
  TextNotEmpty,
  TextNotExactlyZero,  // page counts: "00" is stored, "0" is not
  NumberNotDefault,
  NumberNotZero,
};

// The numbers Apply computes from several controls and the load decodes.
enum class BitSet { Options, OptionsMask, Permissions, PermissionsMask, DisabledOptions, FileOptions };

// One number per bit set, as a pass computes them or the load reads them.
class BitSets {
 public:
  std::uint32_t& operator[](BitSet set) { return values_[static_cast<std::size_t>(set)]; }
  std::uint32_t operator[](BitSet set) const { return values_[static_cast<std::size_t>(set)]; }

 private:
  std::array<std::uint32_t, 6> values_{};
};

// Form_Load's step that reads the value (0: never read), and its place
// among the values read in that step.
struct LoadPlace {
  int step = 0;
  int position = 1;
  constexpr auto operator<=>(const LoadPlace&) const = default;
};

// What it means when the value is found under this one of several names,
// and when Apply stores it there.
struct NameVariant {
  bool persistent = false;  // a "Default" name: goes with chkPersistent
  bool noWait = false;      // a "Nowait" name: goes with chkPostActionWait unticked
  std::string_view mergeCommand{};  // the cboMergeCommand item it goes with
};

// One registry value. A number shown in a control is a decimal text in a
// text box or the value of a check box, as the control's kind says.
struct Setting {
  std::string_view name;
  ValueType type = ValueType::Text;
  std::optional<ControlId> control{};  // the control that shows it,
  std::optional<BitSet> bitSet{};      // or the bit set it is packed into
  ReadRule read = ReadRule::Never;
  bool ticksApplyToAllUsers = false;  // when found only at the machine key
  LoadPlace load{};
  WriteRule write = WriteRule::AllUsers;
  StoredWhen when = StoredWhen::Always;
  std::int32_t defaultNumber = 0;  // shown when absent; compared by NumberNotDefault
  bool jobOption = false;          // storing it lets "persistent" be written
  NameVariant variant{};
  std::optional<ControlId> label{};  // a number box: the label naming it to the administrator
};

// Every row, in Apply's order.
std::span<const Setting> SettingsCatalogue();
std::span<const Setting* const> ApplyOrder();
// The rows the load reads, in Form_Load's order.
std::span<const Setting* const> LoadOrder();

// Rules that give one control several names: the rows of such a setting
// stand together, in Apply's order and in the load's.
constexpr bool IsAlternativeNames(ReadRule rule) {
  return rule == ReadRule::FileName || rule == ReadRule::PostAction || rule == ReadRule::MergeFile;
}
constexpr bool IsAlternativeNames(WriteRule rule) {
  return rule == WriteRule::FileName || rule == WriteRule::PostAction ||
         rule == WriteRule::MergeFile;
}

// Calls `visit` with the rows of each setting in `rows`, in order: a run of
// rows whose rule (read or write, as `ruleOf` picks) gives one control
// several names, or else a single row.
template <typename RuleOf, typename Visit>
void ForEachSetting(std::span<const Setting* const> rows, RuleOf ruleOf, Visit visit) {
  std::size_t first = 0;
  while (first < rows.size()) {
    const auto rule = ruleOf(*rows[first]);
    std::size_t end = first + 1;
    while (IsAlternativeNames(rule) && end < rows.size() && ruleOf(*rows[end]) == rule) ++end;
    visit(rows.subspan(first, end - first));
    first = end;
  }
}

// Removed by the Apply button after a pass that saved everything; never written.
inline constexpr std::string_view kTitleValueName = "PDFTitle";
// Appended to a post action command that lacks it: a space, then "%s" in quotes.
inline constexpr std::string_view kPostActionSuffix = " \"%s\"";

// --- Bit tables ---

// `disabled options`: a box of sense Set sets its bit when ticked (any value
// but 0); one of sense Clear sets it when cleared. In the load's order.
enum class Sense { Set, Clear };
struct DisabledOptionBit {
  ControlId box;
  std::uint32_t bit;
  Sense sense;
};
inline constexpr DisabledOptionBit kDisabledOptionBits[] = {
    {ControlId::chkSendPDF, 0x1, Sense::Set},
    {ControlId::chkDeleteAfterSending, 0x40, Sense::Set},
    {ControlId::chkViewPDF, 0x2, Sense::Set},
    {ControlId::chkPrintPDF, 0x80, Sense::Set},
    {ControlId::chkBestImageQuality, 0x100, Sense::Set},
    {ControlId::chkDocumentTitle, 0x8000000, Sense::Set},
    {ControlId::chkDocumentAuthor, 0x10000000, Sense::Set},
    {ControlId::chkUserPassEnabled, 0x200000, Sense::Clear},
    {ControlId::chkMasterPassEnabled, 0x400000, Sense::Clear},
    {ControlId::chkEncryptLevelEnabled, 0x800000, Sense::Clear},
    {ControlId::chkPrintEnabled, 0x1000000, Sense::Clear},
    {ControlId::chkCopyEnabled, 0x4000000, Sense::Clear},
    {ControlId::chkModifyEnabled, 0x2000000, Sense::Clear},
    {ControlId::chkApplyWatermark, 0x200, Sense::Set},
    {ControlId::chkChangeWatermark, 0x40000, Sense::Set},
    {ControlId::chkDisableAppendReplace, 0x8000, Sense::Set},
};

// `default options` and its mask: the encryption level and the resizing of
// the File Save window.
inline constexpr ControlId kEncryptionCombo = ControlId::cboEncryptLevel;
inline constexpr std::uint32_t kEncryptionGroup = 0x2018;
struct EncryptionLevel {
  std::string_view item;
  std::uint32_t bit;
};
// In the order the load tests them; "No Encryption" has no bit of its own
// and so is what the load shows when none of the others is set.
inline constexpr EncryptionLevel kEncryptionLevels[] = {
    {"40 Bit Encryption", 0x8},
    {"128 Bit Encryption", 0x10},
    {"256 Bit Encryption", 0x2000},
    {"No Encryption", 0x0},
};
inline constexpr ControlId kResizingBox = ControlId::chkDisableResizing;
inline constexpr std::uint32_t kResizingBit = 0x10000;

// `default permissions` and its mask: each combo allows or prevents a group
// of bits; the load shows a combo only when the mask holds any of them.
struct PermissionCombo {
  ControlId combo;
  std::uint32_t bits;
  std::string_view allowItem;
  std::string_view preventItem;
};
inline constexpr PermissionCombo kPermissionCombos[] = {
    {ControlId::cboPrintPermission, 0x4, "Allow printing", "Prevent printing"},
    {ControlId::cboCopyPermission, 0x10, "Allow copying", "Prevent copying"},
    {ControlId::cboModifyPermission, 0x528, "Allow modification", "Prevent modification"},
};

// `file options`: where the watermark lies, in the order the load tests them.
inline constexpr ControlId kWatermarkPlacementCombo = ControlId::cboWatermarkCommand;
struct WatermarkPlacement {
  std::string_view item;
  std::uint32_t bit;
};
inline constexpr WatermarkPlacement kWatermarkPlacements[] = {
    {"Background", 0x800},
    {"Foreground", 0x200},
};

}  // namespace quillon
