#pragma once
// The main window's behaviour: the handlers of its controls, reached through
// the ports that connect it to its controls and to the platform.
#include "app/ControlId.h"
#include "app/Controls.h"
#include "app/LocaleNumber.h"
#include "app/OpenFileDialog.h"

namespace quillon {

// What the window works through; the caller owns all of it and keeps it alive
// for the window's lifetime.
struct AdminUtilityPorts {
  Controls& controls;
  OpenFileDialog& openFileDialog;
  NumberSeparators numberSeparators;  // the user's locale, for the page counts
};

class AdminUtilityMain {
 public:
  // Starts receiving the change notifications of the controls.
  explicit AdminUtilityMain(AdminUtilityPorts ports);
  // Stops them again, so that none reaches a window that is gone.
  ~AdminUtilityMain();
  AdminUtilityMain(const AdminUtilityMain&) = delete;
  AdminUtilityMain& operator=(const AdminUtilityMain&) = delete;

  // Runs the click handler of a button; a control without one ignores it.
  void Click(ControlId button);

  // Cancel: closes the window and writes nothing.
  void Command2_Click();

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

  AdminUtilityPorts ports_;
};

}  // namespace quillon
