#pragma once
// The main window's behaviour: the handlers of its controls, reached through
// the ports that connect it to its controls and to the platform.
#include <set>
#include <string>

#include "model/ControlId.h"
#include "model/Controls.h"
#include "model/LoadRecord.h"
#include "model/LocaleNumber.h"
#include "model/OpenFileDialog.h"
#include "model/Printers.h"
#include "model/SettingsApply.h"
#include "crypto/HelperLibrary.h"
#include "crypto/StoredPassword.h"
#include "platform/MessageBoxes.h"
#include "settings/EnvironmentBroadcast.h"
#include "settings/Registry.h"
#include "settings/RegistryAccess.h"
#include "settings/SettingLocations.h"

namespace quillon {

// The printer the Test button prints to.
inline constexpr const char* kProductPrinterName = "Quillon";

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

class AdminUtilityMain {
 public:
  // Starts receiving the change notifications of the controls. The program
  // runs Form_Load next, before it first shows the window.
  explicit AdminUtilityMain(AdminUtilityPorts ports);
  // Stops them again, so that none reaches a window that is gone.
  ~AdminUtilityMain();
  AdminUtilityMain(const AdminUtilityMain&) = delete;
  AdminUtilityMain& operator=(const AdminUtilityMain&) = delete;

  // Fills the controls from the registry, once, before the window is shown
  // (SettingsLoad), and greys what the PDF file name decides. A diagnosis
  // asks for every copy to be judged; the window reads up to the winners.
  void Form_Load(LookDepth depth = LookDepth::UpToTheWinner);
  // What the load decided, and where each value came from.
  const LoadRecord& Record() const { return record_; }

  // Runs the click handler of a button; a control without one ignores it.
  void Click(ControlId button);

  // Writes the whole window to the registry (SettingsApply). Refuses before
  // writing anything when a field cannot be stored.
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
  void OnTextChanged(ControlId textBox);
  void WarnNotAllSaved();

  AdminUtilityPorts ports_;
  RegistryAccess registry_;
  SettingLocations locations_;
  StoredPasswordCodec passwords_;
  // Password boxes the load left empty because the stored password could
  // not be decoded.
  std::set<ControlId> passwordsNotShown_;
  LoadRecord record_;
};

}  // namespace quillon
