#pragma once
// The settings catalogue: every registry value the utility reads or writes,
// one row each, with the control (or bit set) that shows it. The load and
// Apply both walk this table; no other code spells a value name. Rows stand
// in the order Apply handles them; the load's order is a list of its own.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "model/BitSets.h"
#include "model/ControlId.h"
#include "settings/SettingLocations.h"

namespace quillon {

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
  Persistent,  // 1 in the chosen scope when the pass wrote a job option; so Apply
               // handles it after every other row
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

// What it means when the value is found under this one of several names,
// and when Apply stores it there.
struct NameVariant {
  bool persistent = false;          // a "Default" name: goes with chkPersistent
  bool noWait = false;              // a "Nowait" name: goes with chkPostActionWait unticked
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
  bool ticksApplyToAllUsers = false;  // when the load finds it only at the machine key
  WriteRule write = WriteRule::AllUsers;
  StoredWhen when = StoredWhen::Always;
  std::int32_t defaultNumber = 0;  // shown when absent; compared by NumberNotDefault
  bool jobOption = false;          // a value in the window for it lets "persistent" be written
  NameVariant variant{};
  std::optional<ControlId> label{};  // a number box: the label naming it to the administrator
  std::string_view noPolicyBecause{};  // why the policy templates leave it out
};

// Where a row's setting lives: where the load reads it, and every place a
// copy of it may lie.
Residence ResidenceOf(const Setting& row);

// Every row, in Apply's order.
std::span<const Setting> SettingsCatalogue();
// The rows the load reads, in the load's order.
std::span<const Setting* const> LoadOrder();
// A row's place in the load's order; rows the load never reads come last.
std::size_t LoadRank(const Setting& row);

// Rules that give one control several names: the rows of such a setting
// stand together, in Apply's order and in the load's.
constexpr bool IsAlternativeNames(ReadRule rule) {
  return rule == ReadRule::FileName || rule == ReadRule::PostAction || rule == ReadRule::MergeFile;
}
constexpr bool IsAlternativeNames(WriteRule rule) {
  return rule == WriteRule::FileName || rule == WriteRule::PostAction ||
         rule == WriteRule::MergeFile;
}

inline const Setting& RowOf(const Setting& row) { return row; }
inline const Setting& RowOf(const Setting* row) { return *row; }

// Calls `visit` with the rows of each setting in `rows` (the table's rows,
// or pointers to them in another order): a run of rows whose rule (read or
// write, as `ruleOf` picks) gives one control several names, or else a
// single row.
template <typename Row, typename RuleOf, typename Visit>
void ForEachSetting(std::span<Row> rows, RuleOf ruleOf, Visit visit) {
  std::size_t first = 0;
  while (first < rows.size()) {
    const auto rule = ruleOf(RowOf(rows[first]));
    std::size_t end = first + 1;
    while (IsAlternativeNames(rule) && end < rows.size() && ruleOf(RowOf(rows[end])) == rule) ++end;
    visit(rows.subspan(first, end - first));
    first = end;
  }
}

// Removed by the Apply button after a pass that saved everything; never written.
inline constexpr std::string_view kTitleValueName = "PDFTitle";
// Appended to a post action command that lacks it: a space, then "%s" in quotes.
inline constexpr std::string_view kPostActionSuffix = " \"%s\"";

}  // namespace quillon
