#pragma once
// The machine's profiles through advapi32: ProfileList enumerated,
// LookupAccountSid for each account's name, RegLoadAppKey for the hive file
// of a user who is not signed in, the process token for who runs.
#include "commands/Profiles.h"

namespace quillon {

class Win32Profiles final : public Profiles {
 public:
  long List(std::vector<Profile>& profiles) override;
  long LoadHiveFile(const std::string& path, KeyAccess access,
                    std::unique_ptr<HiveFile>& hive) override;
  std::string RunningAccountSid() override;
  bool RunsAsAdministrator() override;
};

}  // namespace quillon
