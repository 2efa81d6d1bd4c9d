// Applying: the window filled in and Apply pressed, then the registry read
// back value by value, and the next start showing what was written. Also the
// cases where Apply must not claim success: a registry write that fails, and
// fields that cannot be stored.
#include <algorithm>
#include <vector>

#include "e2e/scenarios/Scenario.h"
#include "e2e/scenarios/WindowEntries.h"
#include "e2e/scenarios/WindowState.h"

namespace quillon::e2e {
namespace {

using Id = ControlId;
using enum Location;

constexpr char kEnvironmentSection[] = "Environment";
constexpr char kPostActionSuffix[] = " \"%s\"";

// The six boxes ticked by an empty registry because their bit means "not
// allowed"; clearing them is what a fully cleared window takes.
constexpr Id kAllowBoxes[] = {Id::chkUserPassEnabled,     Id::chkMasterPassEnabled,
                              Id::chkEncryptLevelEnabled, Id::chkPrintEnabled,
                              Id::chkCopyEnabled,         Id::chkModifyEnabled};

bool Received(const SettingChangeListener& listener, const std::string& section) {
  const std::vector<std::string> sections = listener.Sections();
  return std::ranges::find(sections, section) != sections.end();
}

class Applying : public Scenario {};

// Every copy at every other location goes, the environment variable too, and
// exactly the eight values that are written on every pass remain.
TEST_F(Applying, AClearedWindowLeavesExactlyTheEightMachineValues) {
  ASSERT_TRUE(registry::SeedNumber(kMachine64, "auto merge interval", 1234));
  ASSERT_TRUE(registry::SeedNumber(kLegacy, "copy error retry count", 10));
  ASSERT_TRUE(registry::SeedText(kUser, "PDFMailDefaultSubject", "Stale"));
  ASSERT_TRUE(registry::SeedText(kMachine, "PDFTitle", "Left by the driver"));
  ASSERT_TRUE(registry::SeedText(kUser, "PDFTitle", "Left by the driver"));
  ASSERT_TRUE(registry::Seed(kEnvironment, "QUILLONTEMP", RegValue::Text("C:\\Old")));
  ASSERT_TRUE(Open());
  std::vector<Entry> cleared = {{Id::txtQuillonTEMP, ""}, {Id::txtAutoMergeInterval, "2000"}};
  for (const Id box : kAllowBoxes) cleared.push_back({box, "0"});
  ASSERT_TRUE(Enter(Window(), cleared));
  ASSERT_TRUE(ApplyAndConfirmSaved());
  ExpectStoredValues(
      {
          {{kMachine, "PDFMailResolveNames"}, RegValue::Number(0)},
          {{kMachine, "default options"}, RegValue::Number(0)},
          {{kMachine, "default options mask"}, RegValue::Number(0)},
          {{kMachine, "default permissions"}, RegValue::Number(0)},
          {{kMachine, "default permissions mask"}, RegValue::Number(0)},
          {{kMachine, "disabled options"}, RegValue::Number(0x7E00000)},
          {{kMachine, "disable autoname keyboard check"}, RegValue::Number(0)},
          {{kMachine, "PDFPreview"}, RegValue::Number(0)},
      },
      ReadStoredValues());
  EXPECT_TRUE(Received(settingChanges_, kEnvironmentSection))
      << "no WM_SETTINGCHANGE \"Environment\" reached the driver's window";
}

// Every field the window has, in the order an administrator can fill them
// (a file name first, since it enables the merge and watermark fields).
const std::vector<Entry> kFullWindow = {
    {Id::txtPDFFileName, "C:\\Quillon\\report.pdf"},
    {Id::txtAutoNameContentSearchWord, "Invoice"},
    {Id::txtPostAction, "C:\\Tools\\notify.exe"},
    {Id::cboMergeCommand, "Prepend"},
    {Id::txtMergeFile, "C:\\Quillon\\cover.pdf"},
    {Id::cboWatermarkCommand, "Foreground"},
    {Id::txtWatermarkFile, "C:\\Quillon\\draft.pdf"},
    {Id::txtExcludeWatermarkPre, "1"},
    {Id::txtExcludeWatermarkPost, "2"},
    {Id::txtDefaultPath, "C:\\Quillon\\Output"},
    {Id::txtDefaultWatermarkFile, "C:\\Quillon\\stamp.pdf"},
    {Id::chkSendPDF, "1"},
    {Id::chkDocumentTitle, "1"},
    {Id::chkDeleteAfterSending, "1"},
    {Id::chkDocumentAuthor, "1"},
    {Id::chkViewPDF, "1"},
    {Id::chkChangeWatermark, "1"},
    {Id::chkPrintPDF, "1"},
    {Id::chkBestImageQuality, "1"},
    {Id::chkDisableAppendReplace, "1"},
    {Id::chkApplyWatermark, "1"},
    {Id::txtMailSubject, "Monthly report"},
    {Id::txtMailAddress, "to@example.com"},
    {Id::txtMailCCAddress, "cc@example.com"},
    {Id::txtMailBody, "See attached."},
    {Id::chkResolveNames, "1"},
    {Id::txtQuillonTEMP, "C:\\QuillonTemp"},
    {Id::chkDisableResizing, "1"},
    {Id::chkUseQuillonDestkopPreview, "1"},
    {Id::chkDisableAutoNameKeyboardCheck, "1"},
    {Id::txtAutoMergeInterval, "3000"},
    {Id::txtAppendErrorRetryCount, "5"},
    {Id::txtCopyErrorRetryCount, "11"},
    {Id::txtRenameErrorRetryCount, "6"},
    {Id::txtDeleteErrorRetryCount, "12"},
    {Id::txtUserPass, kUserPassword.plain},
    {Id::txtMasterPass, kMasterPassword.plain},
    {Id::cboEncryptLevel, "128 Bit Encryption"},
    {Id::cboPrintPermission, "Allow printing"},
    {Id::cboCopyPermission, "Prevent copying"},
    {Id::cboModifyPermission, "Allow modification"},
};

// Where the full window's values land: `scoped` is the machine product key
// for all users and the user product key for the current user.
StoredValues FullWindowValues(Location scoped) {
  return {
      {{kMachine, "Default Path"}, RegValue::Text("C:\\Quillon\\Output")},
      {{kMachine, "PDFDefaultWatermarkFile"}, RegValue::Text("C:\\Quillon\\stamp.pdf")},
      {{scoped, "PDFDefaultFileName"}, RegValue::Text("C:\\Quillon\\report.pdf")},
      {{scoped, "PDFAutoNameContentSearchWord"}, RegValue::Text("Invoice")},
      {{scoped, "Default Post Action"},
       RegValue::Text(std::string("C:\\Tools\\notify.exe") + kPostActionSuffix)},
      {{kMachine, "PDFMailDefaultSubject"}, RegValue::Text("Monthly report")},
      {{kMachine, "PDFMailDefaultRecipients"}, RegValue::Text("to@example.com")},
      {{kMachine, "PDFMailDefaultCCRecipients"}, RegValue::Text("cc@example.com")},
      {{kMachine, "PDFMailDefaultNote"}, RegValue::Text("See attached.")},
      {{kMachine, "PDFMailResolveNames"}, RegValue::Number(1)},
      {{scoped, "PDFPrependFile"}, RegValue::Text("C:\\Quillon\\cover.pdf")},
      {{scoped, "PDFWatermarkFile"}, RegValue::Text("C:\\Quillon\\draft.pdf")},
      {{scoped, "PDFExcludeWatermarkPre"}, RegValue::Number(1)},
      {{scoped, "PDFExcludeWatermarkPost"}, RegValue::Number(2)},
      {{kEnvironment, "QUILLONTEMP"}, RegValue::Text("C:\\QuillonTemp")},
      {{kMachine, "default user password"}, RegValue::Text(kUserPassword.stored)},
      {{kMachine, "default master password"}, RegValue::Text(kMasterPassword.stored)},
      {{kMachine, "default options"}, RegValue::Number(0x10010)},
      {{kMachine, "default options mask"}, RegValue::Number(0x12018)},
      {{kMachine, "default permissions"}, RegValue::Number(0x52C)},
      {{kMachine, "default permissions mask"}, RegValue::Number(0x53C)},
      {{kMachine, "disabled options"}, RegValue::Number(0x180483C3)},
      {{kMachine, "disable autoname keyboard check"}, RegValue::Number(1)},
      {{kMachine, "PDFPreview"}, RegValue::Number(1)},
      {{kMachine, "auto merge interval"}, RegValue::Number(3000)},
      {{kMachine, "append error retry count"}, RegValue::Number(5)},
      {{kMachine, "copy error retry count"}, RegValue::Number(11)},
      {{kMachine, "rename error retry count"}, RegValue::Number(6)},
      {{kMachine, "delete error retry count"}, RegValue::Number(12)},
      {{scoped, "file options"}, RegValue::Number(0x200)},
      {{scoped, "persistent"}, RegValue::Number(1)},
  };
}

class ApplyingAFullWindow : public Scenario, public ::testing::WithParamInterface<bool> {
 protected:
  bool AllUsers() const { return GetParam(); }
};

TEST_P(ApplyingAFullWindow, WritesEveryValueInItsScopeAndTheNextStartShowsIt) {
  // Ticking "Print File" off removes the save dialog's own placement.
  ASSERT_TRUE(registry::SeedNumber(kSaveDialog, "file options", 0x800));
  ASSERT_TRUE(Open());
  std::vector<Entry> entries = kFullWindow;
  entries.push_back({Id::chkApplyToAllUsers, AllUsers() ? "1" : "0"});
  ASSERT_TRUE(Enter(Window(), entries));

  ASSERT_TRUE(Window().Press(Id::btnApply));
  std::optional<ModalBox> saved = NextBox("the confirmation after Apply");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->View(), Confirmation(kSettingsSaved));
  // While the confirmation is up the window still shows what Apply did to
  // it, and the own cipher was used, not the helper library.
  EXPECT_EQ(Window().Text(Id::txtPostAction),
            std::string("C:\\Tools\\notify.exe") + kPostActionSuffix);
  EXPECT_FALSE(Process().HasLoaded(kHelperLibrary))
      << "64-bit Windows must not use " << kHelperLibrary;
  ASSERT_TRUE(saved->Confirm());
  ASSERT_TRUE(Process().WaitForEnd("Apply closes the window after its confirmation"));

  ExpectStoredValues(FullWindowValues(AllUsers() ? kMachine : kUser), ReadStoredValues());
  EXPECT_TRUE(Received(settingChanges_, kEnvironmentSection))
      << "no WM_SETTINGCHANGE \"Environment\" reached the driver's window";

  ASSERT_TRUE(Open());
  WindowState expected = WithEntries(WindowState::AfterCleanLoad(), entries);
  expected.texts[Id::txtPostAction] += kPostActionSuffix;
  ExpectWindowShows(expected, Window());
  EXPECT_TRUE(CancelAndEnd());
}

INSTANTIATE_TEST_SUITE_P(Scopes, ApplyingAFullWindow, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& tested) {
                           return tested.param ? "ForAllUsers" : "ForTheCurrentUser";
                         });

// Registry errors are reported as they happen; the pass goes on, says at the
// end that not everything was saved, and leaves the window open.
TEST_F(Applying, AFailedRegistryWriteIsReportedAndTheWindowStaysOpen) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(registry::MakeMachineProductKeyUncreatable());
  ASSERT_TRUE(Window().Press(Id::btnApply));
  std::vector<MessageBoxView> seen;
  while (true) {
    std::optional<ModalBox> box = NextBox("the next message of the failing pass");
    ASSERT_TRUE(box) << "boxes seen so far: " << ::testing::PrintToString(seen);
    seen.push_back(box->View());
    ASSERT_TRUE(box->Confirm());
    if (seen.back().caption != kAdminUtilityTitle) break;
  }
  // Every number the pass writes at the machine key fails, in Apply's order.
  std::vector<MessageBoxView> expected;
  for (const char* name : {"PDFMailResolveNames", "default options", "default options mask",
                           "default permissions", "default permissions mask", "disabled options",
                           "disable autoname keyboard check", "PDFPreview"}) {
    expected.push_back(
        RegistryError("Unable to save value " + std::string(name) + ", open error code 1021"));
  }
  ASSERT_EQ(seen.size(), expected.size() + 1) << ::testing::PrintToString(seen);
  EXPECT_EQ(std::vector<MessageBoxView>(seen.begin(), seen.end() - 1), expected);
  const MessageBoxView& last = seen.back();
  EXPECT_EQ(last.caption, kAdministratorUtilityTitle);
  EXPECT_TRUE(last.exclamationIcon) << last;
  EXPECT_TRUE(last.text.starts_with("Not all settings were saved")) << last;
  EXPECT_TRUE(HoldsThroughout([&] { return Window().IsOpen(); }, Milliseconds(1000)))
      << "the window closed although not all settings were saved";
  EXPECT_EQ(registry::ReadAll(kMachine), ValueMap{});
  EXPECT_TRUE(CancelAndEnd());
}

struct Refusal {
  const char* name;
  std::vector<Entry> entries;
  const char* reason;  // a part of the message that names the cause
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

class ApplyingRefuses : public Scenario, public ::testing::WithParamInterface<Refusal> {};

// A field that cannot be stored refuses the whole pass before anything is
// written, says why, and leaves the window open.
TEST_P(ApplyingRefuses, BeforeAnythingIsWritten) {
  ASSERT_TRUE(registry::SeedText(kUser, "PDFAppendFile", "C:\\back.pdf"));
  ASSERT_TRUE(registry::SeedNumber(kMachine, "disabled options", 0x1));
  ASSERT_TRUE(Open());
  const StoredValues before = ReadStoredValues();
  ASSERT_TRUE(Enter(Window(), GetParam().entries));
  ASSERT_TRUE(Window().Press(Id::btnApply));
  std::optional<ModalBox> box = NextBox("the refusal of the pass");
  ASSERT_TRUE(box);
  const MessageBoxView refusal = box->View();
  EXPECT_EQ(refusal.caption, kAdministratorUtilityTitle);
  EXPECT_TRUE(refusal.exclamationIcon) << refusal;
  EXPECT_NE(refusal.text.find("Nothing was saved."), std::string::npos) << refusal;
  EXPECT_NE(refusal.text.find(GetParam().reason), std::string::npos) << refusal;
  ASSERT_TRUE(box->Confirm());
  ExpectNoBox("the refusal");
  EXPECT_TRUE(Window().IsOpen()) << "the window closed after a refused pass";
  ExpectStoredValues(before, ReadStoredValues());
  EXPECT_TRUE(CancelAndEnd());
}

INSTANTIATE_TEST_SUITE_P(Fields, ApplyingRefuses,
                         ::testing::Values(Refusal{"Overlay",
                                                   {{Id::txtPDFFileName, "C:\\job.pdf"},
                                                    {Id::cboMergeCommand, "Overlay"},
                                                    {Id::txtMergeFile, "C:\\over.pdf"}},
                                                   "\"Overlay\""},
                                           Refusal{"TextInANumberField",
                                                   {{Id::txtAutoMergeInterval, "fast"}},
                                                   "\"Auto Merge Interval\""},
                                           Refusal{"EmptyRetryCount",
                                                   {{Id::txtCopyErrorRetryCount, ""}},
                                                   "\"Copy Error Retry Count\""}),
                         [](const ::testing::TestParamInfo<Refusal>& tested) {
                           return tested.param.name;
                         });

}  // namespace
}  // namespace quillon::e2e
