#pragma once
// The Group Policy and Intune templates (quillon.admx and its en-US
// quillon.adml), made from the settings catalogue: one policy per setting
// the window shows, in the class whose keys the load reads first, each
// removing every other copy the load could find in its hive. The catalogue
// says why it leaves a setting out.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ControlTable.h"
#include "model/SettingsCatalogue.h"

namespace quillon {

enum class PolicyClass { Machine, User };

// A value in the policy's hive, by the key name Group Policy writes: machine
// keys land in the 64-bit view as named, so the 32-bit view is named through
// WOW6432Node.
struct PolicyValue {
  std::string key;
  std::string valueName;
};

// What the policy's one control sets.
enum class PolicyControl {
  Text,      // a text box: REG_EXPAND_SZ, as Apply stores texts
  Decimal,   // a number box: REG_DWORD
  CheckBox,  // the policy itself: Enabled stores 1
};

struct Policy {
  std::string name;  // unique in the file; also its string and presentation ids
  PolicyClass policyClass = PolicyClass::Machine;
  Page page{};
  std::string displayName;  // the control's caption, as the window spells it
  std::string explain;
  PolicyValue value;  // what Enabled writes
  PolicyControl control = PolicyControl::Text;
  std::uint32_t maxValue = 0;      // numbers
  std::int32_t defaultNumber = 0;  // numbers: what the window shows without a value
  bool only64BitWindows = false;   // its key is read only on 64-bit Windows
  // Removed when Enabled: every other copy the load could find in this hive,
  // under any of the setting's names. Disabled removes these and `value`.
  std::vector<PolicyValue> removals;
  // Written as 1 when Enabled and left alone when Disabled: "persistent",
  // which keeps the job's options for later jobs and is shared by them all.
  std::vector<PolicyValue> alsoSetsToOne;
};

std::vector<Policy> Policies();

// The two files, as written to packaging/files/PolicyDefinitions/.
std::string PolicyDefinitionsFile(const std::vector<Policy>& policies);
std::string PolicyResourcesFile(const std::vector<Policy>& policies);

}  // namespace quillon
