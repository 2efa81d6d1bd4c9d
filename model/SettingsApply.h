#pragma once
// One pass of Apply: the window written back to the registry, row by row in
// the catalogue's order, each setting written first and its other copies
// removed only once the write succeeded.
#include <optional>
#include <set>
#include <span>
#include <string>

#include "model/ControlId.h"
#include "model/Controls.h"
#include "model/LocaleNumber.h"
#include "model/SettingsCatalogue.h"
#include "crypto/StoredPassword.h"
#include "platform/MessageBoxes.h"
#include "settings/EnvironmentBroadcast.h"
#include "settings/SettingLocations.h"

namespace quillon {

// How a pass ended.
enum class ApplyOutcome {
  Saved,        // every registry operation succeeded
  NotAllSaved,  // at least one failed; each failure was shown as it happened
  Refused,      // nothing was written: a field could not be stored, as shown
};

struct ApplyPorts {
  Controls& controls;
  const NumberSeparators& numberSeparators;
  SettingLocations& locations;
  StoredPasswordCodec& passwords;
  EnvironmentBroadcast& environmentBroadcast;
  MessageBoxes& messageBoxes;
};

class SettingsApply {
 public:
  // `passwordsNotShown` are the password boxes the load left empty because
  // their stored password could not be decoded: while such a box stays
  // empty, Apply leaves the stored one alone. A password saved leaves the set.
  SettingsApply(ApplyPorts ports, std::set<ControlId>& passwordsNotShown);

  // Writes the whole window. Refuses before writing anything when a field
  // cannot be stored.
  ApplyOutcome Run();

 private:
  using Rows = std::span<const Setting>;
  // The name a setting is to be stored under, and what and where.
  struct Choice {
    const Setting* row;
    bool allUsers;
    SettingData data;
  };

  std::string RefusalOfPass() const;
  bool ForAllUsers() const;
  void ApplySetting(Rows rows);
  // Each rule's result says whether the window held a value for the setting,
  // stored or not: what makes a job option count.
  bool ApplyTableRow(const Setting& row);
  bool ApplyFileName(Rows rows);
  bool ApplyPostAction(Rows rows);
  bool ApplyMergeFile(Rows rows);
  bool ApplyPassword(const Setting& row);
  // Neither setting is a job option.
  void ApplyTempFolder(const Setting& row);
  void ApplySaveDialog(const Setting& row);
  void ApplyPersistent(const Setting& row);
  void Replace(Rows rows, const std::optional<Choice>& choice);
  void NoteSaved(bool saved) { allSaved_ = saved && allSaved_; }

  ApplyPorts ports_;
  std::set<ControlId>& passwordsNotShown_;
  BitSets bitSets_;
  bool jobOptionWritten_ = false;  // lets "persistent" be written
  bool allSaved_ = true;
};

}  // namespace quillon
