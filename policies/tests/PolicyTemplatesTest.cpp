// The policies against the catalogue and the places the load reads, worked
// out here from the keys Group Policy writes, so that a wrong generator fails
// even after its files were regenerated; and the checked-in files against
// the generator, so that a catalogue change nobody regenerated fails too.
// Whether each policy wins is shown on Wine by e2e/group-policy.sh; that every
// reference in the files resolves, by the policy_templates_structure test.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "policies/PolicyExplanation.h"
#include "policies/PolicyTemplates.h"
#include "settings/SettingLocations.h"

namespace quillon {
namespace {

constexpr const char* kPlainKey = "Software\\Marrowby\\Quillon";
constexpr const char* kRedirectedKey = "Software\\WOW6432Node\\Marrowby\\Quillon";

// The key Group Policy writes for a copy: machine keys land in the 64-bit
// view as named, so the program's own view is reached through WOW6432Node.
struct PlaceKey {
  FoundAt at;
  PolicyClass hive;
  const char* key;
};
constexpr PlaceKey kPlaceKeys[] = {
    {FoundAt::LegacyUserKey, PolicyClass::User,
     "Software\\VB and VBA Program Settings\\Marrowby\\Quillon"},
    {FoundAt::UserKey, PolicyClass::User, kPlainKey},
    {FoundAt::MachineKey64BitView, PolicyClass::Machine, kPlainKey},
    {FoundAt::MachineKey, PolicyClass::Machine, kRedirectedKey},
};

using Values = std::set<std::pair<std::string, std::string>>;  // key, value name

// Every copy the load could read in the policy's hive, under any name of
// the setting: what Enabled writes and removes together.
Values CopiesInHive(std::span<const Setting> names, const Setting& row, PolicyClass hive) {
  Values copies;
  for (const FoundAt at : PlacesRead(ResidenceOf(row), row.type)) {
    const auto place = std::ranges::find(kPlaceKeys, at, &PlaceKey::at);
    EXPECT_NE(place, std::end(kPlaceKeys)) << "a place Group Policy cannot write";
    if (place == std::end(kPlaceKeys) || place->hive != hive) continue;
    for (const Setting& name : names) copies.insert({place->key, std::string(name.name)});
  }
  return copies;
}

// What a policy for the row must hold, from the row alone.
void ExpectPolicyOfRow(const Policy& p, std::span<const Setting> names, const Setting& row) {
  SCOPED_TRACE(p.name);
  const bool machine = p.policyClass == PolicyClass::Machine;
  const bool machineOnly = ResidenceOf(row) == Residence::MachineKey;
  EXPECT_EQ(p.name.ends_with("_AllUsers"), machine && !machineOnly);
  // The machine's texts are read in the program's view alone, which 32-bit
  // Windows names plainly; its numbers, in the 64-bit view first.
  const bool text = row.type == ValueType::Text;
  EXPECT_EQ(p.value.key, machine && text ? kRedirectedKey : kPlainKey);
  EXPECT_EQ(p.only64BitWindows, machine && text);
  Values written;
  for (const PolicyValue& v : p.removals)
    EXPECT_TRUE(written.insert({v.key, v.valueName}).second) << "removes twice: " << v.valueName;
  EXPECT_TRUE(written.insert({p.value.key, p.value.valueName}).second) << "removes its own value";
  EXPECT_EQ(written, CopiesInHive(names, row, p.policyClass));
  if (text) {
    EXPECT_EQ(p.control, PolicyControl::Text);
  } else if (row.bitSet) {
    EXPECT_EQ(p.control, PolicyControl::Decimal);
    EXPECT_EQ(p.maxValue, BitsOf(*row.bitSet).all);
  } else if (DefinitionOf(*row.control).kind == ControlKind::kCheckBox) {
    EXPECT_EQ(p.control, PolicyControl::CheckBox);
  } else {
    EXPECT_EQ(p.control, PolicyControl::Decimal);
    EXPECT_EQ(p.maxValue, 2147483647u);
    EXPECT_EQ(p.defaultNumber, row.defaultNumber);
  }
  ASSERT_EQ(p.alsoSetsToOne.size(), row.jobOption ? 1u : 0u);
  if (row.jobOption) {
    EXPECT_EQ(p.alsoSetsToOne[0].key, machine ? kRedirectedKey : kPlainKey);
    EXPECT_EQ(p.alsoSetsToOne[0].valueName, "persistent");
  }
  EXPECT_FALSE(p.displayName.empty());
  EXPECT_FALSE(p.explain.empty());
}

// Every setting without an exclusion has one policy in the hive whose keys
// the load reads first, and a per-user one a second, for all users; each as
// its row says, under a name no other policy has.
TEST(Policies, FollowTheCatalogueAndThePlacesTheLoadReads) {
  const std::vector<Policy> policies = Policies();
  std::set<std::string> names;
  for (const Policy& p : policies) EXPECT_TRUE(names.insert(p.name).second) << p.name;
  std::size_t matched = 0;
  ForEachSetting(
      SettingsCatalogue(), [](const Setting& row) { return row.write; },
      [&](std::span<const Setting> rows) {
        if (std::ranges::any_of(rows, [](const Setting& r) { return !r.noPolicyBecause.empty(); }))
          return;
        std::vector<const Policy*> own;
        const Setting* stored = nullptr;
        for (const Setting& row : rows) {
          for (const Policy& p : policies) {
            if (p.value.valueName == row.name) own.push_back(&p), stored = &row;
          }
        }
        const bool machineOnly = ResidenceOf(rows[0]) == Residence::MachineKey;
        ASSERT_EQ(own.size(), machineOnly ? 1u : 2u)
            << "\"" << rows[0].name << "\": a policy for each hive that reads it, or a reason";
        for (const Policy* p : own) ExpectPolicyOfRow(*p, rows, *stored);
        matched += own.size();
      });
  EXPECT_EQ(matched, policies.size()) << "a policy of no setting";
}

std::string Read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

struct TemplateFile {
  const char* path;
  std::string (*make)(const std::vector<Policy>&);
};

TEST(Policies, CheckedInFilesAreWhatTheCatalogueMakes) {
  for (const TemplateFile& file : {TemplateFile{"quillon.admx", PolicyDefinitionsFile},
                                   TemplateFile{"en-US/quillon.adml", PolicyResourcesFile}}) {
    const std::string path = std::string(QUILLON_POLICY_FOLDER) + "/" + file.path;
    const std::string made = file.make(Policies()), checkedIn = Read(path);
    const auto [ours, theirs] = std::ranges::mismatch(made, checkedIn);
    const auto line = std::count(made.begin(), ours, '\n') + 1;
    EXPECT_TRUE(made == checkedIn)
        << path << " differs from what the catalogue makes at line " << line
        << ". Run build/native/policies/write_policy_templates packaging/files/PolicyDefinitions "
           "and review the change.";
  }
}

}  // namespace
}  // namespace quillon
