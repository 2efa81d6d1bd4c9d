// The checked-in templates against the catalogue: they must be what the
// writer makes of it today, and every row must have a policy or a named
// exclusion. Whether each policy wins is shown on Wine by e2e/group-policy.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "policies/PolicyTemplates.h"

namespace quillon {
namespace {

std::string Read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// What a line of either file is about: the value it names, else the string
// or control it defines (named after its policy); empty for other lines.
std::string SubjectOf(const std::string& line) {
  for (const std::string marker : {"valueName=\"", "refId=\"", " id=\""}) {
    const auto start = line.find(marker);
    if (start == std::string::npos) continue;
    const auto end = line.find('"', start + marker.size());
    return line.substr(start + marker.size(), end - start - marker.size());
  }
  return {};
}

struct TemplateFile {
  const char* name;  // the test's
  const char* path;
  std::string (*make)(const std::vector<Policy>&);
};

class TemplateFileTest : public testing::TestWithParam<TemplateFile> {};

// A catalogue change that the files do not follow fails here, naming each
// value or policy whose lines differ, and the first line that does.
TEST_P(TemplateFileTest, IsWhatTheCatalogueMakes) {
  const std::string path = std::string(QUILLON_POLICY_FOLDER) + "/" + GetParam().path;
  const std::vector<std::string> made = Lines(GetParam().make(Policies()));
  const std::vector<std::string> checkedIn = Lines(Read(path));
  ASSERT_FALSE(checkedIn.empty()) << "cannot read " << path;
  std::vector<std::string> differing;
  std::string firstDifference;
  for (std::size_t i = 0; i < std::max(made.size(), checkedIn.size()); ++i) {
    const std::string ours = i < made.size() ? made[i] : "";
    const std::string theirs = i < checkedIn.size() ? checkedIn[i] : "";
    if (ours == theirs) continue;
    if (firstDifference.empty()) {
      firstDifference = "line " + std::to_string(i + 1) + ": made\n  " + ours +
                        "\nchecked in\n  " + theirs;
    }
    for (const std::string& name : {SubjectOf(ours), SubjectOf(theirs)}) {
      if (!name.empty() && std::ranges::find(differing, name) == differing.end())
        differing.push_back(name);
    }
  }
  std::string names;
  for (const std::string& name : differing) names += " \"" + name + "\"";
  EXPECT_TRUE(firstDifference.empty())
      << path << " is not what the catalogue makes; values and policies concerned:" << names << "\n"
      << firstDifference
      << "\nRun build/native/policies/write_policy_templates packaging/files/PolicyDefinitions "
         "and review the change.";
}

INSTANTIATE_TEST_SUITE_P(
    Templates, TemplateFileTest,
    testing::Values(TemplateFile{"Admx", "quillon.admx", PolicyDefinitionsFile},
                    TemplateFile{"Adml", "en-US/quillon.adml", PolicyResourcesFile}),
    [](const testing::TestParamInfo<TemplateFile>& file) { return file.param.name; });

bool Names(const std::vector<PolicyValue>& values, std::string_view name) {
  return std::ranges::any_of(values, [name](const PolicyValue& v) { return v.valueName == name; });
}

// Every row is stored by a policy, or removed by one as another name of its
// setting, unless the catalogue says why it is left out.
TEST(PolicyCoverage, EveryCatalogueRowHasAPolicyOrAReason) {
  const std::vector<Policy> policies = Policies();
  for (const Setting& row : SettingsCatalogue()) {
    const bool stored = std::ranges::any_of(
        policies, [&row](const Policy& p) { return p.value.valueName == row.name; });
    const bool removed = std::ranges::any_of(
        policies, [&row](const Policy& p) { return Names(p.removals, row.name); });
    if (!row.noPolicyBecause.empty()) continue;
    EXPECT_TRUE(stored || removed)
        << "\"" << row.name << "\" has no policy and no reason for leaving it out";
  }
}

}  // namespace
}  // namespace quillon
