#pragma once
// Whether this machine is what a deployed registry file would make it: the
// window's own load run twice without a window, on the registry as it is and
// on the registry as it would be with the file imported (its writes and
// removals recorded over the real registry, never made), and what the window
// shows compared setting by setting. Nothing in the registry changes.
#include <span>
#include <string>
#include <vector>

#include "commands/Profiles.h"
#include "model/LocaleNumber.h"
#include "crypto/HelperLibrary.h"
#include "settings/RegFileReader.h"
#include "settings/Registry.h"

namespace quillon {

struct CheckOutcome {
  enum class Verdict { Same, Differs, CannotCheck };
  Verdict verdict;
  std::vector<std::string> lines;  // what to tell the caller
};

// `width` is what the running process finds: it decides which view each of
// the file's machine keys lands in, as a 64-bit "reg import" sends them.
CheckOutcome CheckSettings(Registry& registry, HelperLibrary& helperLibrary,
                           const NumberSeparators& numberSeparators,
                           std::span<const RegFileOperation> file, WindowsWidth width);

// The same for every user's profile, service accounts aside: each user's
// load now against the load of a user who holds no copies of their own, on
// the registry as the file would leave it, and the user's own variables that
// programs read instead of the file's. Each line names its profile, and
// says where importing the file would not change what that user is shown:
// its HKEY_CURRENT_USER part lands only in the account that imports it.
CheckOutcome CheckSettingsForEveryUser(Registry& registry, Profiles& profiles,
                                       HelperLibrary& helperLibrary,
                                       const NumberSeparators& numberSeparators,
                                       std::span<const RegFileOperation> file, WindowsWidth width);

}  // namespace quillon
