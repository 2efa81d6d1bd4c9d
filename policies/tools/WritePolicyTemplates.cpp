// Writes the Group Policy templates into a folder: quillon.admx, and
// en-US/quillon.adml beside it. Run after changing the settings catalogue:
//   write_policy_templates packaging/files/PolicyDefinitions
#include <filesystem>
#include <fstream>
#include <iostream>

#include "policies/PolicyTemplates.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary);
  file << text;
  file.close();
  if (file) return true;
  std::cerr << "Could not write " << path.string() << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: write_policy_templates FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::vector<quillon::Policy> policies = quillon::Policies();
  const bool written =
      WriteFile(folder / "quillon.admx", quillon::PolicyDefinitionsFile(policies)) &&
      WriteFile(folder / "en-US" / "quillon.adml", quillon::PolicyResourcesFile(policies));
  if (!written) return 1;
  std::cout << "Wrote " << policies.size() << " policies to " << folder.string() << "\n";
  return 0;
}
