// Loading: values seeded into the real registry, through advapi32, at the
// locations the printer driver shares with the utility, and what the window
// shows when it opens. Every scenario ends with Cancel.
#include "e2e/scenarios/Scenario.h"
#include "e2e/scenarios/WindowState.h"

namespace quillon::e2e {
namespace {

using Id = ControlId;
using enum Location;

class Loading : public Scenario {};

TEST_F(Loading, AnEmptyRegistryShowsTheDefaults) {
  ASSERT_TRUE(Open());
  ExpectWindowShows(WindowState::AfterCleanLoad(), Window());
  EXPECT_TRUE(CancelAndEnd());
}

// The legacy key before the user key before the machine key, for texts and
// numbers alike; with a per-user copy winning, nothing marks "Apply to all
// users", and reads that never mark do not either.
TEST_F(Loading, TheLegacyKeyWinsThenTheUserKeyAndOnlyMarkedMachineReadsTick) {
  ASSERT_TRUE(registry::SeedText(kLegacy, "PDFFileName", "C:\\legacy.pdf"));
  ASSERT_TRUE(registry::SeedText(kUser, "PDFFileName", "C:\\user.pdf"));
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFFileName", "C:\\machine.pdf"));
  ASSERT_TRUE(registry::SeedText(kUser, "PDFAutoNameContentSearchWord", "UserWord"));
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFAutoNameContentSearchWord", "MachineWord"));
  ASSERT_TRUE(registry::SeedNumber(kLegacy, "auto merge interval", 111));
  ASSERT_TRUE(registry::SeedNumber(kUser, "auto merge interval", 222));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "auto merge interval", 333));
  ASSERT_TRUE(registry::SeedNumber(kUser, "append error retry count", 5));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "append error retry count", 6));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "copy error retry count", 7));
  ASSERT_TRUE(registry::SeedText(kMachine, "default user password", kUserPassword.stored));
  ASSERT_TRUE(Open());
  WindowState expected = WindowState::AfterCleanLoad();
  expected.texts[Id::txtPDFFileName] = "C:\\legacy.pdf";
  expected.texts[Id::txtAutoNameContentSearchWord] = "UserWord";
  expected.texts[Id::txtAutoMergeInterval] = "111";
  expected.texts[Id::txtAppendErrorRetryCount] = "5";
  expected.texts[Id::txtCopyErrorRetryCount] = "7";
  expected.texts[Id::txtUserPass] = kUserPassword.plain;
  ExpectWindowShows(expected, Window());
  EXPECT_TRUE(CancelAndEnd());
}

TEST_F(Loading, AMarkedValueFoundOnlyAtTheMachineTicksApplyToAllUsers) {
  ASSERT_TRUE(registry::SeedText(kUser, "PDFDefaultFileName", "C:\\job.pdf"));
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFWatermarkFile", "C:\\draft.pdf"));
  ASSERT_TRUE(Open());
  WindowState expected = WindowState::AfterCleanLoad();
  expected.texts[Id::txtPDFFileName] = "C:\\job.pdf";
  expected.texts[Id::txtWatermarkFile] = "C:\\draft.pdf";
  expected.checks[Id::chkApplyToAllUsers] = 1;
  ExpectWindowShows(expected, Window());
  // A file name and a watermark file enable both groups they govern.
  ExpectGroupEnabled(kFileNameGroup, true, Window());
  ExpectGroupEnabled(kWatermarkExclusionGroup, true, Window());
  EXPECT_TRUE(CancelAndEnd());
}

// On 64-bit Windows machine-wide numbers come from the 64-bit view first and
// from the default view when that has none.
TEST_F(Loading, MachineNumbersAreReadFromThe64BitViewFirst) {
  ASSERT_TRUE(registry::SeedNumber(kMachine64, "disabled options", 0x1));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "disabled options", 0x2));
  ASSERT_TRUE(registry::SeedNumber(kMachine64, "auto merge interval", 1234));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "auto merge interval", 4321));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "default options", 0x10008));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "default options mask", 0x12018));
  ASSERT_TRUE(Open());
  WindowState expected = WindowState::AfterCleanLoad();
  expected.checks[Id::chkSendPDF] = 1;
  expected.texts[Id::txtAutoMergeInterval] = "1234";
  expected.texts[Id::cboEncryptLevel] = "40 Bit Encryption";
  expected.checks[Id::chkDisableResizing] = 1;
  ExpectWindowShows(expected, Window());
  EXPECT_TRUE(CancelAndEnd());
}

TEST_F(Loading, TheBitTablesFillTheBoxesAndLists) {
  ASSERT_TRUE(registry::SeedNumber(kMachine, "disabled options", 0x180483C3));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "default options", 0x2000));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "default options mask", 0x2018));
  // One bit of the modification group in the mask is enough for its list.
  ASSERT_TRUE(registry::SeedNumber(kMachine, "default permissions", 0x400));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "default permissions mask", 0x34));
  ASSERT_TRUE(registry::SeedNumber(kUser, "file options", 0x200));
  ASSERT_TRUE(registry::SeedNumber(kLegacy, "PDFMailResolveNames", 0));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "PDFMailResolveNames", 1));
  ASSERT_TRUE(registry::SeedNumber(kUser, "disable autoname keyboard check", 1));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "PDFPreview", 1));
  ASSERT_TRUE(Open());
  WindowState expected = WindowState::AfterCleanLoad();
  for (const ControlId box :
       {Id::chkSendPDF, Id::chkDeleteAfterSending, Id::chkViewPDF, Id::chkPrintPDF,
        Id::chkBestImageQuality, Id::chkDocumentTitle, Id::chkDocumentAuthor,
        Id::chkUserPassEnabled, Id::chkMasterPassEnabled, Id::chkEncryptLevelEnabled,
        Id::chkPrintEnabled, Id::chkCopyEnabled, Id::chkModifyEnabled, Id::chkApplyWatermark,
        Id::chkChangeWatermark, Id::chkDisableAppendReplace, Id::chkResolveNames,
        Id::chkDisableAutoNameKeyboardCheck, Id::chkUseQuillonDestkopPreview}) {
    expected.checks[box] = 1;
  }
  expected.texts[Id::cboEncryptLevel] = "256 Bit Encryption";
  expected.texts[Id::cboPrintPermission] = "Prevent printing";
  expected.texts[Id::cboCopyPermission] = "Prevent copying";
  expected.texts[Id::cboModifyPermission] = "Allow modification";
  expected.texts[Id::cboWatermarkCommand] = "Foreground";
  ExpectWindowShows(expected, Window());
  EXPECT_TRUE(CancelAndEnd());
}

TEST_F(Loading, ThePostActionMergeFileTemporaryFolderAndMailTextsComeThrough) {
  ASSERT_TRUE(registry::SeedText(kUser, "Post Action Nowait", "C:\\Tools\\user.exe"));
  ASSERT_TRUE(registry::SeedText(kMachine, "Default Post Action", "C:\\Tools\\machine.exe"));
  ASSERT_TRUE(registry::SeedText(kUser, "PDFPrependFile", "C:\\cover.pdf"));
  ASSERT_TRUE(registry::SeedText(kUser, "PDFAppendFile", "C:\\back.pdf"));
  ASSERT_TRUE(registry::Seed(kEnvironment, "QUILLONTEMP",
                             RegValue::Text("%SystemDrive%\\QuillonTemp", REG_EXPAND_SZ)));
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFMailDefaultSubject", "Report"));
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFMailDefaultRecipients", "to@example.com"));
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFMailDefaultCCRecipients", "cc@example.com"));
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFMailDefaultNote", "Attached."));
  ASSERT_TRUE(registry::SeedText(kMachine, "Default Path", "C:\\Output"));
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFDefaultWatermarkFile", "C:\\stamp.pdf"));
  ASSERT_TRUE(Open());
  WindowState expected = WindowState::AfterCleanLoad();
  expected.texts[Id::txtPostAction] = "C:\\Tools\\user.exe";
  expected.checks[Id::chkPostActionWait] = 0;
  expected.texts[Id::txtMergeFile] = "C:\\cover.pdf";
  expected.texts[Id::cboMergeCommand] = "Prepend";
  expected.texts[Id::txtQuillonTEMP] = "%SystemDrive%\\QuillonTemp";
  expected.texts[Id::txtMailSubject] = "Report";
  expected.texts[Id::txtMailAddress] = "to@example.com";
  expected.texts[Id::txtMailCCAddress] = "cc@example.com";
  expected.texts[Id::txtMailBody] = "Attached.";
  expected.texts[Id::txtDefaultPath] = "C:\\Output";
  expected.texts[Id::txtDefaultWatermarkFile] = "C:\\stamp.pdf";
  ExpectWindowShows(expected, Window());
  EXPECT_TRUE(CancelAndEnd());
}

// A password is read user-first like a text, then decoded.
TEST_F(Loading, StoredPasswordsAreDecoded) {
  ASSERT_TRUE(registry::SeedText(kMachine, "default user password", kUserPassword.stored));
  ASSERT_TRUE(registry::SeedText(kUser, "default master password", kMasterPassword.stored));
  ASSERT_TRUE(registry::SeedText(kMachine, "default master password", kUserPassword.stored));
  ASSERT_TRUE(Open());
  WindowState expected = WindowState::AfterCleanLoad();
  expected.texts[Id::txtUserPass] = kUserPassword.plain;
  expected.texts[Id::txtMasterPass] = kMasterPassword.plain;
  ExpectWindowShows(expected, Window());
  EXPECT_TRUE(CancelAndEnd());
}

}  // namespace
}  // namespace quillon::e2e
