#pragma once
// Every user of the machine: the settings a user's own copies give that user
// instead of what all users get ("/users"), and those copies removed from
// every profile ("/users /clear"). Each user's settings are the window's own
// load, run with HKEY_CURRENT_USER replaced by that user's hive; what it
// recorded says which copy won. The service accounts' profiles are left out.
#include <optional>
#include <string>
#include <vector>

#include "commands/Profiles.h"
#include "crypto/HelperLibrary.h"
#include "model/LoadRecord.h"
#include "model/LocaleNumber.h"
#include "settings/Registry.h"

namespace quillon {

struct UsersOutcome {
  // /users: no profile holds a copy that wins, and every one was read.
  // /users /clear: every profile was reached and every removal made.
  bool clean = false;
  std::vector<std::string> lines;  // what to tell the caller
};

// The user's own variable that programs read instead of the system's, as a
// load that judged every copy found it; none when it is missing or empty.
std::optional<std::string> OwnVariable(const ValueRecord& value);

// What every profile's own copies give its user; nothing changes.
UsersOutcome ListUserCopies(Registry& registry, Profiles& profiles, HelperLibrary& helperLibrary,
                            const NumberSeparators& numberSeparators, WindowsWidth width);

// Removes from every profile each value the catalogue names in the user's
// product key, legacy key and save dialog key, and the user's own
// QUILLONTEMP; then lists what is left, as ListUserCopies does. Nothing
// without administrator rights.
UsersOutcome ClearUserCopies(Registry& registry, Profiles& profiles, HelperLibrary& helperLibrary,
                             const NumberSeparators& numberSeparators, WindowsWidth width);

}  // namespace quillon
