#pragma once
// The main window's behaviour: the handlers of its controls, reached through
// the ports that connect it to its controls and to the platform.
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>

#include "app/ControlId.h"
#include "app/Controls.h"
#include "app/LocaleNumber.h"
#include "app/OpenFileDialog.h"
#include "app/Printers.h"
#include "crypto/HelperLibrary.h"
#include "crypto/StoredPassword.h"
#include "platform/MessageBoxes.h"
#include "settings/EnvironmentBroadcast.h"
#include "settings/Registry.h"
#include "settings/RegistryAccess.h"
#include "settings/SettingLocations.h"
#include "app/SettingsCatalogue.h"

namespace quillon {

// What the window works through; the caller owns all of it and keeps it alive
// for the window's lifetime.
struct AdminUtilityPorts {
  Controls& controls;
  OpenFileDialog& openFileDialog;
  NumberSeparators numberSeparators;  // the user's locale, for the numbers typed
  Registry& registry;
  MessageBoxes& messageBoxes;
  Printers& printers;
  EnvironmentBroadcast& environmentBroadcast;
  HelperLibrary& helperLibrary;
};

// How a pass of ApplySettings ended.
enum class ApplyOutcome {
  Saved,        // every registry operation succeeded
  NotAllSaved,  // at least one failed; each failure was shown as it happened
  Refused,      // nothing was written: a field could not be stored, as shown
};

class AdminUtilityMain {
 public:
  // Starts receiving the change notifications of the controls. The program
  // runs Form_Load next, before it first shows the window.
  explicit AdminUtilityMain(AdminUtilityPorts ports);
  // Stops them again, so that none reaches a window that is gone.
  ~AdminUtilityMain();
  AdminUtilityMain(const AdminUtilityMain&) = delete;
  AdminUtilityMain& operator=(const AdminUtilityMain&) = delete;

  // Fills the controls from the registry, once, before the window is shown.
  void Form_Load();
  // A setting stored at more than one place, read the way the load reads it
  // (SettingLocations::FindString and FindLong). Found only at the machine
  // key, and asked to, it ticks chkApplyToAllUsers.
  std::string GetEffectiveString(const std::string& name, bool ticksApplyToAllUsers);
  std::int32_t GetEffectiveLong(const std::string& name, std::int32_t defaultValue,
                                bool ticksApplyToAllUsers);

  // Runs the click handler of a button; a control without one ignores it.
  void Click(ControlId button);

  // Writes the whole window to the registry. Refuses before writing anything
  // when a field cannot be stored.
  ApplyOutcome ApplySettings();
  // Apply: writes, confirms and closes; after a pass that did not save
  // everything it says so and stays open.
  void btnApply_Click();
  // Cancel: closes the window and writes nothing.
  void Command2_Click();

  // Test: writes the settings, prints a test page to the product's printer,
  // names the file it was to make, and writes the settings again.
  void btnTestFile_Click();
  // Makes the first printer named exactly "Quillon" the current printer.
  void SelectProductPrinter();

  // The "..." buttons: ask for a PDF file and put a confirmed path into the
  // text box beside the button; a cancelled dialog changes nothing.
  void btnSelectPDFFileName_Click();
  void btnSelectMergeFile_Click();
  void btnSelectWatermarkFile_Click();
  void btnSelectWatermark_Click();

  // Enable the controls that only make sense with a PDF file name, and the
  // watermark exclusion with a watermark file, and grey them otherwise.
  void txtPDFFileName_Change();
  void txtWatermarkFile_Change();
  // Keep the watermark exclusion page counts numeric.
  void txtExcludeWatermarkPre_Change();
  void txtExcludeWatermarkPost_Change();

 private:
  using Rows = std::span<const Setting* const>;
  struct ApplyPass;
  struct Choice;

  void OnTextChanged(ControlId textBox);
  void Warn(const std::string& text);

  // Loading (FormLoad.cpp).
  void LoadSetting(Rows rows, BitSets& loaded);
  void ShowNumber(const Setting& row, std::int32_t number, BitSets& loaded);
  void LoadFirstNameFound(Rows rows);
  void LoadFirstNonZero(const Setting& row);
  void LoadPassword(const Setting& row);
  void ShowWhereFound(FoundAt at, bool ticksApplyToAllUsers);

  // Applying (ApplySettings.cpp).
  std::string RefusalOfPass();
  void WarnNotAllSaved();
  bool ChosenScope();
  void ApplySetting(Rows rows, ApplyPass& pass);
  void ApplyTableRow(const Setting& row, ApplyPass& pass);
  void ApplyFileName(Rows rows, ApplyPass& pass);
  void ApplyPostAction(Rows rows, ApplyPass& pass);
  void ApplyMergeFile(Rows rows, ApplyPass& pass);
  void ApplyTempFolder(const Setting& row, ApplyPass& pass);
  void ApplyPassword(const Setting& row, ApplyPass& pass);
  void ApplyPersistent(const Setting& row, ApplyPass& pass);
  void Replace(Rows rows, const std::optional<Choice>& choice, ApplyPass& pass);

  AdminUtilityPorts ports_;
  RegistryAccess registry_;
  SettingLocations locations_;
  StoredPasswordCodec passwords_;
  // Password boxes left empty because the stored password could not be
  // decoded: while such a box stays empty, Apply leaves the stored one alone.
  std::set<ControlId> passwordsNotShown_;
};

}  // namespace quillon
