// The Test button: the settings written, a one-page document printed to the
// product's printer, the administrator told which file it was to make, and
// the settings written again.
#include "model/AdminUtilityMain.h"

#include <string>
#include <vector>

#include "settings/Spelling.h"

namespace quillon {
namespace {

constexpr int kTestFontPoints = 24;

constexpr const char* kNotPrinted =
    "The test page could not be printed: no printer could be used, or the print job could not "
    "be started. No PDF file was made.";


// Three blank lines, then the file name the driver is to use.
std::vector<std::string> TestDocument(const std::string& fileName) {
  return {" ", " ", " ", std::string(11, ' ') + "Quillon test to " + Quoted(fileName)};
}

}  // namespace

void AdminUtilityMain::btnTestFile_Click() {
  SelectProductPrinter();
  const ApplyOutcome before = ApplySettings();
  // A refused pass wrote nothing, so there is nothing to try out.
  if (before == ApplyOutcome::Refused) return;

  Controls& controls = ports_.controls;
  const bool printed = ports_.printers.PrintDocument(
      TestDocument(controls.Text(ControlId::txtPDFFileName)), kTestFontPoints);
  if (printed) {
    ports_.messageBoxes.Show("File " + Quoted(controls.Text(ControlId::txtPDFFileName)) +
                                 " created.",
                             kWindowMessageTitle, kMbOk);
  } else {
    ShowWindowWarning(ports_.messageBoxes, kNotPrinted);
  }

  const ApplyOutcome after = ApplySettings();
  if (before == ApplyOutcome::NotAllSaved || after == ApplyOutcome::NotAllSaved) {
    WarnNotAllSaved();
  }
}

// Names are compared exactly, case included; without a match the current
// printer stays.
void AdminUtilityMain::SelectProductPrinter() {
  for (const std::string& name : ports_.printers.InstalledPrinterNames()) {
    if (name == kProductPrinterName) {
      ports_.printers.MakeCurrent(name);
      return;
    }
  }
}

}  // namespace quillon
