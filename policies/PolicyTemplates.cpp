// The policies, walked out of the settings catalogue and the places the
// load reads.
#include "policies/PolicyTemplates.h"

#include <algorithm>
#include <optional>

#include "model/Captions.h"
#include "policies/PolicyExplanation.h"
#include "settings/SettingLocations.h"
#include "settings/Spelling.h"

namespace quillon {
namespace {

using Rows = std::span<const Setting>;

constexpr std::uint32_t kLargestNumber = 2147483647;

// Group Policy writes a machine key as named in the 64-bit view; the
// program's own view is the 32-bit one, reached by the WOW6432Node name.
std::string KeyName(FoundAt copy) {
  const CopyPlace& place = PlaceOf(copy);
  const std::string path = place.location.path;
  if (place.location.root == RootKey::CurrentUser || place.view == RegistryView::Wow64_64) {
    return path;
  }
  return RedirectedPath(path);
}

bool InHive(FoundAt copy, PolicyClass policyClass) {
  return (PlaceOf(copy).location.root == RootKey::LocalMachine) ==
         (policyClass == PolicyClass::Machine);
}

// Where a policy of the class stores the value: the first place the load
// reads in its hive.
FoundAt StoredAt(PolicyClass policyClass, ValueType type) {
  for (const FoundAt copy : PlacesRead(Residence::UserFirst, type)) {
    if (copy != FoundAt::LegacyUserKey && InHive(copy, policyClass)) return copy;
  }
  return FoundAt::MachineKey;
}

// The row whose name a policy for these rows stores: the persistent, waiting
// names, and the merge command the window starts with.
const Setting& StoredRow(Rows rows) {
  const auto row = std::ranges::find_if(rows, [](const Setting& r) {
    switch (r.write) {
      case WriteRule::FileName:
        return r.variant.persistent;
      case WriteRule::PostAction:
        return r.variant.persistent && !r.variant.noWait;
      case WriteRule::MergeFile:
        return r.variant.mergeCommand == kAppendItem;
      default:
        return true;
    }
  });
  return *row;
}

bool Excluded(const Setting& row) { return !row.noPolicyBecause.empty(); }

std::string PolicyName(std::string_view valueName) {
  std::string name;
  bool startOfWord = true;
  for (const char c : valueName) {
    const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alphanumeric) {
      startOfWord = true;
      continue;
    }
    name += startOfWord && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    startOfWord = false;
  }
  return name;
}

Policy PolicyFor(Rows rows, PolicyClass policyClass, bool companion) {
  const Setting& row = StoredRow(rows);
  Policy policy;
  policy.name = PolicyName(row.name) + (companion ? "_AllUsers" : "");
  policy.policyClass = policyClass;
  policy.page = *PageOf(row);
  policy.displayName = Heading(row);
  const FoundAt stored = StoredAt(policyClass, row.type);
  policy.value = {KeyName(stored), std::string(row.name)};
  policy.only64BitWindows = policyClass == PolicyClass::Machine && row.type == ValueType::Text;
  BitList bits;
  if (row.type == ValueType::Text) {
    policy.control = PolicyControl::Text;
  } else if (row.bitSet) {
    bits = BitsOf(*row.bitSet);
    policy.control = PolicyControl::Decimal;
    policy.maxValue = bits.all;
  } else if (DefinitionOf(*row.control).kind == ControlKind::kCheckBox) {
    policy.control = PolicyControl::CheckBox;
  } else {
    policy.control = PolicyControl::Decimal;
    policy.maxValue = kLargestNumber;
    policy.defaultNumber = row.defaultNumber;
  }
  // In the load's order, name by name, so the list reads as the printer looks.
  std::vector<const Setting*> names;
  for (const Setting& name : rows) names.push_back(&name);
  std::ranges::stable_sort(names, {}, [](const Setting* r) { return LoadRank(*r); });
  for (const Setting* name : names) {
    for (const FoundAt copy : PlacesRead(Residence::UserFirst, row.type)) {
      if (!InHive(copy, policyClass)) continue;
      if (name == &row && copy == stored) continue;
      policy.removals.push_back({KeyName(copy), std::string(name->name)});
    }
  }
  if (row.jobOption) {
    const auto persistent = std::ranges::find(SettingsCatalogue(), WriteRule::Persistent,
                                              &Setting::write);
    // Where Apply stores it for this scope, in the program's own view.
    const FoundAt scope =
        policyClass == PolicyClass::Machine ? FoundAt::MachineKey : FoundAt::UserKey;
    policy.alsoSetsToOne.push_back({KeyName(scope), std::string(persistent->name)});
  }
  policy.explain = ExplainOf(policy, row, rows, bits);
  return policy;
}

}  // namespace

std::vector<Policy> Policies() {
  std::vector<Policy> policies;
  ForEachSetting(
      SettingsCatalogue(), [](const Setting& row) { return row.write; },
      [&policies](Rows rows) {
        const Setting& row = StoredRow(rows);
        if (Excluded(row)) return;
        switch (row.read) {
          case ReadRule::MachineText:
          case ReadRule::MachineNumber:
            policies.push_back(PolicyFor(rows, PolicyClass::Machine, false));
            return;
          case ReadRule::UserFirstText:
          case ReadRule::UserFirstNumber:
          case ReadRule::FirstNonZero:
          case ReadRule::FileName:
          case ReadRule::PostAction:
          case ReadRule::MergeFile:
            policies.push_back(PolicyFor(rows, PolicyClass::User, false));
            policies.push_back(PolicyFor(rows, PolicyClass::Machine, true));
            return;
          // Neither has a policy: one without an exclusion shows up as such
          // in the template's test.
          case ReadRule::Password:
          case ReadRule::EnvironmentText:
          case ReadRule::Never:
            return;
        }
      });
  // In the window's order: page by page, then as the catalogue has them.
  std::ranges::stable_sort(policies, {}, &Policy::page);
  return policies;
}

}  // namespace quillon
