// The four "..." pickers through the real open-file dialog: a chosen file
// lands in its text box and runs the box's enabling logic, Cancel leaves the
// box as it was, and only the default-watermark picker refuses a file that
// does not exist.
#include <fstream>

#include "e2e/driver/RunFolders.h"
#include "e2e/scenarios/Scenario.h"
#include "e2e/scenarios/WindowState.h"

namespace quillon::e2e {
namespace {

using Id = ControlId;

constexpr char kPdfFilterDescription[] = "Portable Document Files (*.PDF)";

struct Picker {
  ControlId button;
  const char* title;
  ControlId target;
};

// In the order an administrator can use them: the file name first, since it
// enables the merge and watermark boxes.
constexpr Picker kPickers[] = {
    {Id::btnSelectPDFFileName, "Select the PDF file", Id::txtPDFFileName},
    {Id::btnSelectMergeFile, "Select the PDF file to merge", Id::txtMergeFile},
    {Id::btnSelectWatermarkFile, "Select the Watermark PDF file", Id::txtWatermarkFile},
    {Id::btnSelectWatermark, "Select a watermark PDF file", Id::txtDefaultWatermarkFile},
};

// A PDF file that exists, since one picker takes only those.
std::string ExistingPdf(const std::string& name) {
  const std::string path = ScratchFolder() + "\\" + name;
  std::ofstream(path, std::ios::binary) << "%PDF-1.4\n%%EOF\n";
  return path;
}

class Pickers : public Scenario {
 protected:
  std::optional<FileDialog> OpenDialog(const Picker& picker) {
    if (!Window().Press(picker.button)) return std::nullopt;
    std::optional<FileDialog> dialog = FileDialog::WaitFor(Process().Id(), picker.title);
    if (dialog) {
      EXPECT_EQ(dialog->Owner(), Window().Handle()) << "the dialog is not modal to the window";
      EXPECT_EQ(dialog->FileType(), kPdfFilterDescription);
    }
    return dialog;
  }
};

TEST_F(Pickers, CancelLeavesTheBoxAsItWasAndAChosenFileReplacesIt) {
  ASSERT_TRUE(Open());
  for (const Picker& picker : kPickers) {
    ASSERT_TRUE(
        Window().Type(picker.target, "C:\\keep\\" + std::string(ControlName(picker.target))));
  }
  for (const Picker& picker : kPickers) {
    SCOPED_TRACE(picker.title);
    const std::string before = Window().Text(picker.target);
    std::optional<FileDialog> dialog = OpenDialog(picker);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog->Cancel());
    EXPECT_EQ(Window().Text(picker.target), before) << "Cancel changed the box";

    const std::string chosen = ExistingPdf(std::string(ControlName(picker.target)) + ".pdf");
    dialog = OpenDialog(picker);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog->TypeNameAndOpen(chosen));
    ASSERT_TRUE(dialog->WaitUntilClosed("a file was chosen"));
    EXPECT_EQ(Window().Text(picker.target), chosen);
  }
  EXPECT_TRUE(CancelAndEnd());
}

// A name that does not exist yet is fine for the job files, comes back as
// typed (no extension added), and runs the box's change handler as typing
// would: the groups greyed on an empty registry come alive.
TEST_F(Pickers, ChosenNamesRunTheEnablingLogicAndComeBackAsTyped) {
  ASSERT_TRUE(Open());
  ExpectGroupEnabled(kFileNameGroup, false, Window());
  const std::string jobName = ScratchFolder() + "\\not-made-yet";
  std::optional<FileDialog> dialog = OpenDialog(kPickers[0]);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(dialog->TypeNameAndOpen(jobName));
  ASSERT_TRUE(dialog->WaitUntilClosed("a new name was typed"));
  EXPECT_EQ(Window().Text(Id::txtPDFFileName), jobName);
  ExpectGroupEnabled(kFileNameGroup, true, Window());

  ExpectGroupEnabled(kWatermarkExclusionGroup, false, Window());
  dialog = OpenDialog(kPickers[2]);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(dialog->TypeNameAndOpen(ScratchFolder() + "\\not-made-yet-watermark.pdf"));
  ASSERT_TRUE(dialog->WaitUntilClosed("a new watermark name was typed"));
  ExpectGroupEnabled(kWatermarkExclusionGroup, true, Window());
  EXPECT_TRUE(CancelAndEnd());
}

TEST_F(Pickers, TheDefaultWatermarkPickerRefusesAFileThatDoesNotExist) {
  ASSERT_TRUE(Open());
  std::optional<FileDialog> dialog = OpenDialog(kPickers[3]);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(dialog->TypeNameAndOpen(ScratchFolder() + "\\no-such-watermark.pdf"));
  std::optional<ModalBox> refusal = dialog->WaitForRefusal();
  ASSERT_TRUE(refusal);
  ASSERT_TRUE(refusal->Confirm());
  EXPECT_TRUE(dialog->IsOpen()) << "the dialog closed on a file that does not exist";
  ASSERT_TRUE(dialog->Cancel());
  EXPECT_EQ(Window().Text(Id::txtDefaultWatermarkFile), "");
  EXPECT_TRUE(CancelAndEnd());
}

}  // namespace
}  // namespace quillon::e2e
