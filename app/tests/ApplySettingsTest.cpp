// ApplySettings and the Apply button on substitute registries: what lands
// where, the bit tables, the special settings, the refusals, the two mends
// (write first; say when not everything was saved), and the order. Each
// setting's way from every place it can live in, loaded and applied again,
// is in the round-trip test; so is the save dialog's number kept while
// "Print File" is allowed. The order test has it removed when it is not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/tests/RegistryCallLog.h"
#include "app/tests/SubstitutePlatform.h"

namespace quillon {
namespace {

using Id = ControlId;
using WindowCall = ControlModel::WindowCall;

TEST(ApplySettings, UntouchedWindowWritesEightMachineNumbersThenConfirmsAndCloses) {
  for (const Windows windows : {Windows::Bits32, Windows::Bits64}) {
    Session s(windows);
    AdminUtilityMain& window = s.Open();
    PutText(s.registry, kEnvironmentKey, "QUILLONTEMP", "C:\\Temp");
    PutText(s.registry, kMachineProductKey, "default user password", "00");
    PutText(s.registry, kUserProductKey, "PDFTitle", "Report");
    window.Click(Id::btnApply);
    EXPECT_EQ(Describe(s.registry), AfterPass({}, {}));
    EXPECT_EQ(s.broadcast.announcements, 1);
    EXPECT_EQ(s.messages.shown,
              (std::vector<RecordedMessage>{{"Settings saved.", "Quillon Administrator Utility", 0}}));
    EXPECT_EQ(s.controls.windowCalls,
              (std::vector{WindowCall::kShowWaitPointer, WindowCall::kRestorePointer,
                           WindowCall::kClose}));
  }
}

// Edits made to a loaded window before a pass.
struct Edit {
  std::vector<std::pair<Id, std::string>> texts;
  std::vector<std::pair<Id, int>> values = {};
};

const std::vector<Id> kSixteenBoxes = {
    Id::chkSendPDF,        Id::chkDeleteAfterSending, Id::chkViewPDF,
    Id::chkPrintPDF,       Id::chkBestImageQuality,   Id::chkDocumentTitle,
    Id::chkDocumentAuthor, Id::chkApplyWatermark,     Id::chkChangeWatermark,
    Id::chkDisableAppendReplace, Id::chkUserPassEnabled, Id::chkMasterPassEnabled,
    Id::chkEncryptLevelEnabled,  Id::chkPrintEnabled,    Id::chkCopyEnabled,
    Id::chkModifyEnabled};

Edit SixteenBoxesAt(int value) {
  Edit edit;
  for (Id box : kSixteenBoxes) edit.values.emplace_back(box, value);
  return edit;
}

std::string Machine(const std::string& name, std::int32_t number) {
  return "machine:" + name + "=" + std::to_string(number);
}

struct StoredCase {
  const char* what;
  Edit edit;
  std::vector<std::string> stored;  // beyond the eight machine numbers
  std::vector<std::string> eight = {};  // those of the eight that differ
};

const StoredCase kStoredCases[] = {
    {"file name for the next job",
     {{{Id::txtPDFFileName, "C:\\a.pdf"}}, {{Id::chkPersistent, 0}}},
     {"user:PDFFileName=\"C:\\a.pdf\""}},
    {"post action with the placeholder stays",
     {{{Id::txtPostAction, "run \"%s\" -q"}}, {{Id::chkPostActionWait, 0}, {Id::chkPersistent, 0}}},
     {"user:Post Action Nowait=\"run \"%s\" -q\""}},
    {"greyed wait stores no command",
     {{{Id::txtPostAction, "run"}}, {{Id::chkPostActionWait, 2}}}, {}},
    {"merge file with a typed command still makes it persistent",
     {{{Id::txtMergeFile, "m.pdf"}, {Id::cboMergeCommand, "Append it"}}}, {"user:persistent=1"}},
    {"watermark with a typed placement",
     {{{Id::txtWatermarkFile, "w.pdf"}, {Id::cboWatermarkCommand, "Behind"}}},
     {"user:PDFWatermarkFile=\"w.pdf\"", "user:persistent=1"}},
    {"placement without a watermark file", {{{Id::cboWatermarkCommand, "Foreground"}}}, {}},
    {"greyed chkPersistent writes no \"persistent\"",
     {{{Id::txtWatermarkFile, "w.pdf"}}, {{Id::chkPersistent, 2}}},
     {"user:PDFWatermarkFile=\"w.pdf\"", "user:file options=2048"}},
    {"two zeros are not exactly \"0\"", {{{Id::txtExcludeWatermarkPost, "00"}}},
     {"user:PDFExcludeWatermarkPost=0", "user:persistent=1"}},
    {"no job option, no persistent",
     {{{Id::txtPDFFileName, "C:\\a.pdf"}, {Id::txtPostAction, "x \"%s\""},
       {Id::txtMailSubject, "Hello"}}},
     {"machine:PDFMailDefaultSubject=\"Hello\"", "user:Default Post Action=\"x \"%s\"\"",
      "user:PDFDefaultFileName=\"C:\\a.pdf\""}},
    {"numbers: defaults stay absent, others are rounded",
     {{{Id::txtAppendErrorRetryCount, "4.4"}, {Id::txtCopyErrorRetryCount, "5.5"},
       {Id::txtAutoMergeInterval, "2,000"}, {Id::txtDeleteErrorRetryCount, "0"}}},
     {"machine:copy error retry count=6", "machine:delete error retry count=0"}},
    {"no encryption", {{{Id::cboEncryptLevel, "No Encryption"}}}, {},
     {Machine("default options mask", 0x2018)}},
    {"typed level", {{{Id::cboEncryptLevel, "128 bit encryption"}}}, {}},
    {"allow printing and copying",
     {{{Id::cboPrintPermission, "Allow printing"}, {Id::cboCopyPermission, "Allow copying"}}}, {},
     {Machine("default permissions", 0x14), Machine("default permissions mask", 0x14)}},
    {"all sixteen boxes clear", SixteenBoxesAt(0), {}, {Machine("disabled options", 0x7E00000)}},
    {"all sixteen boxes ticked", SixteenBoxesAt(1), {}, {Machine("disabled options", 0x180483C3)}},
    {"greyed counts as ticked", SixteenBoxesAt(2), {}, {Machine("disabled options", 0x180483C3)}},
};

TEST(ApplySettings, EachSettingLandsUnderItsNameAndScope) {
  for (const Windows windows : {Windows::Bits32, Windows::Bits64}) {
    for (const StoredCase& row : kStoredCases) {
      SCOPED_TRACE(row.what);
      Session s(windows);
      AdminUtilityMain& window = s.Open();
      for (const auto& [box, text] : row.edit.texts) s.controls.SetText(box, text);
      for (const auto& [box, value] : row.edit.values) s.controls.SetValue(box, value);
      EXPECT_EQ(window.ApplySettings(), ApplyOutcome::Saved);
      EXPECT_EQ(Describe(s.registry), AfterPass(row.eight, row.stored));
    }
  }
}

TEST(ApplySettings, FieldsThatCannotBeStoredRefuseThePassBeforeAnyWrite) {
  const struct {
    Id box;
    std::string text;
    std::string named;
  } cases[] = {
      {Id::txtAutoMergeInterval, "abc", "\"Auto Merge Interval\""},
      {Id::txtRenameErrorRetryCount, "", "\"Rename Error Retry Count\""},
      {Id::txtDeleteErrorRetryCount, "2147483648", "\"Delete Error Retry Count\""},
      {Id::txtExcludeWatermarkPre, "99999999999", "\"pages from the document start\""},
      {Id::txtMergeFile, "m.pdf", "\"Overlay\""},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.named);
    Session s(Windows::Bits64);
    AdminUtilityMain& window = s.Open();
    s.controls.SetText(row.box, row.text);
    s.controls.SetText(Id::cboMergeCommand, "Overlay");
    const int writes = s.registry.CallCount(RegistryCall::SetValue);
    const int deletes = s.registry.CallCount(RegistryCall::DeleteValue);
    window.Click(Id::btnApply);
    EXPECT_EQ(s.registry.CallCount(RegistryCall::SetValue), writes);
    EXPECT_EQ(s.registry.CallCount(RegistryCall::DeleteValue), deletes);
    ASSERT_EQ(s.messages.shown.size(), 1u);
    EXPECT_TRUE(s.messages.shown[0].text.starts_with("Nothing was saved."));
    EXPECT_NE(s.messages.shown[0].text.find(row.named), std::string::npos);
    EXPECT_EQ(s.messages.shown[0].style, 0x30u);
    EXPECT_TRUE(s.controls.windowCalls.empty()) << "no pointer, no close";
  }
}

TEST(ApplySettings, StandardUserForAllUsersKeepsThePerUserCopiesAndIsTold) {
  Session s(Windows::Bits64);
  PutText(s.registry, kUserProductKey, "PDFWatermarkFile", "old.pdf");
  PutText(s.registry, kLegacyUserKey, "PDFAutoNameContentSearchWord", "Old");
  PutText(s.registry, kUserProductKey, "PDFTitle", "Report");
  AdminUtilityMain& window = s.Open();
  s.controls.SetText(Id::txtWatermarkFile, "new.pdf");
  s.controls.SetText(Id::txtAutoNameContentSearchWord, "New");
  s.controls.SetValue(Id::chkApplyToAllUsers, 1);
  s.registry.SetStandardUser(true);
  window.Click(Id::btnApply);

  EXPECT_EQ(TextAt(s.registry, kUserProductKey, "PDFWatermarkFile"), "old.pdf");
  EXPECT_EQ(TextAt(s.registry, kLegacyUserKey, "PDFAutoNameContentSearchWord"), "Old");
  EXPECT_EQ(TextAt(s.registry, kUserProductKey, "PDFTitle"), "Report") << "cleared only after success";
  ASSERT_FALSE(s.messages.shown.empty());
  EXPECT_EQ(s.messages.shown.back().title, "Quillon Administrator Utility");
  EXPECT_EQ(s.messages.shown.back().style, 0x30u);
  EXPECT_TRUE(s.messages.shown.back().text.starts_with("Not all settings were saved"));
  EXPECT_EQ(std::ranges::count(s.controls.windowCalls, WindowCall::kClose), 0);
}

TEST(ApplySettings, MissingLibraryLeavesTheStoredPasswordAndSaysSo) {
  Session s(Windows::Bits32);
  PutText(s.registry, kMachineProductKey, "default master password", "qc:Tdlo");
  AdminUtilityMain& window = s.Open();
  ASSERT_EQ(s.controls.Text(Id::txtMasterPass), "old");
  s.controls.SetText(Id::txtMasterPass, "new");
  s.helperLibrary.encryptStatus = HelperStatus::ExportMissing;
  window.Click(Id::btnApply);
  EXPECT_EQ(TextAt(s.registry, kMachineProductKey, "default master password"), "qc:Tdlo");
  ASSERT_EQ(s.messages.shown.size(), 2u);
  EXPECT_NE(s.messages.shown[0].text.find("quillonc.dll"), std::string::npos);
  EXPECT_NE(s.messages.shown[0].text.find("\"default master password\""), std::string::npos);
  EXPECT_TRUE(s.messages.shown[1].text.starts_with("Not all settings were saved"));
}

TEST(ApplySettings, UndecodablePasswordStaysUntilANewOneIsTyped) {
  Session s(Windows::Bits64);
  PutText(s.registry, kMachineProductKey, "default user password", "BROKEN");
  AdminUtilityMain& window = s.Open();
  EXPECT_EQ(window.ApplySettings(), ApplyOutcome::Saved);
  EXPECT_EQ(TextAt(s.registry, kMachineProductKey, "default user password"), "BROKEN");
  s.controls.SetText(Id::txtUserPass, "fresh");
  window.ApplySettings();
  s.controls.SetText(Id::txtUserPass, "");
  window.ApplySettings();
  EXPECT_EQ(TextAt(s.registry, kMachineProductKey, "default user password"), std::nullopt)
      << "once replaced, an emptied box deletes it";
}

// Apply's steps by value name, with the place of each value among them.
double StepOf(const RegistryCallLog::Entry& entry) {
  static const std::map<std::string, double> kSteps = {
      {"Default Path", 2}, {"PDFDefaultWatermarkFile", 3}, {"PDFFileName", 5},
      {"PDFDefaultFileName", 5}, {"PDFAutoNameContentSearchWord", 6}, {"Post Action", 7},
      {"Default Post Action", 7}, {"Post Action Nowait", 7}, {"Default Post Action Nowait", 7},
      {"PDFMailDefaultSubject", 8.1}, {"PDFMailDefaultRecipients", 8.2},
      {"PDFMailDefaultCCRecipients", 8.3}, {"PDFMailDefaultNote", 8.4},
      {"PDFMailResolveNames", 9}, {"PDFAppendFile", 10}, {"PDFPrependFile", 10},
      {"PDFDefaultAppendFile", 10}, {"PDFDefaultPrependFile", 10}, {"PDFWatermarkFile", 11},
      {"PDFExcludeWatermarkPre", 12.1}, {"PDFExcludeWatermarkPost", 12.2}, {"QUILLONTEMP", 13},
      {"default user password", 14.1}, {"default master password", 14.2},
      {"default options", 15.1}, {"default options mask", 15.2}, {"default permissions", 15.3},
      {"default permissions mask", 15.4}, {"disabled options", 15.5},
      {"disable autoname keyboard check", 16.1}, {"PDFPreview", 16.2},
      {"auto merge interval", 17.1}, {"append error retry count", 17.2},
      {"copy error retry count", 17.3}, {"rename error retry count", 17.4},
      {"delete error retry count", 17.5}, {"file options", 18}, {"persistent", 19}};
  if (entry.name == "file options" && entry.path == kSaveDialogKey.path) return 4;
  return kSteps.at(entry.name);
}

TEST(ApplySettings, WritesInApplysOrderWithEveryStepPresent) {
  Session s(Windows::Bits32);
  RegistryCallLog log(s.registry);
  AdminUtilityMain& window = s.OpenOver(log);
  PutNumber(s.registry, kSaveDialogKey, "file options", 1);
  s.controls.SetValue(Id::chkPrintPDF, 1);
  log.entries.clear();
  window.ApplySettings();
  std::vector<double> steps;
  for (const RegistryCallLog::Entry& entry : log.entries) {
    EXPECT_NE(entry.kind, RegistryCallLog::Kind::Read) << entry.name;
    if (steps.empty() || steps.back() != StepOf(entry)) steps.push_back(StepOf(entry));
  }
  EXPECT_TRUE(std::ranges::is_sorted(steps)) << testing::PrintToString(steps);
  EXPECT_EQ(steps.size(), 32u) << "each of the 32 values or groups of Apply's steps 2 to 19";
}

}  // namespace
}  // namespace quillon
