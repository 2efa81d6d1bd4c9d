// ApplySettings and the Apply and Cancel buttons on substitute registries:
// what lands where, the bit tables, the special settings, the refusals, the
// two mends (write first; say when not everything was saved), and the order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/tests/RegistryCallLog.h"
#include "app/tests/SubstitutePlatform.h"

namespace quillon {
namespace {

using Id = ControlId;
using WindowCall = ControlModel::WindowCall;
const std::string kKey(kStoredPasswordKey);

// The eight values every pass writes, with the numbers of an untouched window.
const std::vector<std::string> kUntouched = {
    "machine:PDFMailResolveNames=0", "machine:PDFPreview=0",
    "machine:default options mask=0", "machine:default options=0",
    "machine:default permissions mask=0", "machine:default permissions=0",
    "machine:disable autoname keyboard check=0", "machine:disabled options=0"};

// What a pass stored beyond the eight values written on every pass.
std::vector<std::string> BeyondTheEight(const SubstituteRegistry& registry) {
  std::vector<std::string> lines;
  std::ranges::copy_if(Describe(registry), std::back_inserter(lines), [](const std::string& line) {
    return !std::ranges::any_of(kUntouched, [&line](const std::string& always) {
      return line.starts_with(always.substr(0, always.find('=') + 1));
    });
  });
  return lines;
}

TEST(ApplySettings, UntouchedWindowWritesEightMachineNumbersThenConfirmsAndCloses) {
  for (const Windows windows : {Windows::Bits32, Windows::Bits64}) {
    Session s(windows);
    AdminUtilityMain& window = s.Open();
    PutText(s.registry, kEnvironmentKey, "QUILLONTEMP", "C:\\Temp");
    PutText(s.registry, kMachineProductKey, "default user password", "00");
    PutText(s.registry, kUserProductKey, "PDFTitle", "Report");
    window.Click(Id::btnApply);
    EXPECT_EQ(Describe(s.registry), kUntouched);
    EXPECT_EQ(s.broadcast.announcements, 1);
    EXPECT_EQ(s.messages.shown,
              (std::vector<RecordedMessage>{{"Settings saved.", "Quillon Administrator Utility", 0}}));
    EXPECT_EQ(s.controls.windowCalls,
              (std::vector{WindowCall::kShowWaitPointer, WindowCall::kRestorePointer,
                           WindowCall::kClose}));
  }
}

struct BitCase {
  const char* what;
  std::function<void(ControlModel&)> edit;
  std::map<std::string, std::int32_t> machine;
};

void TickAll(ControlModel& c, const std::vector<Id>& boxes, int value) {
  for (Id box : boxes) c.SetValue(box, value);
}

const std::vector<Id> kSixteenBoxes = {
    Id::chkSendPDF,        Id::chkDeleteAfterSending, Id::chkViewPDF,
    Id::chkPrintPDF,       Id::chkBestImageQuality,   Id::chkDocumentTitle,
    Id::chkDocumentAuthor, Id::chkApplyWatermark,     Id::chkChangeWatermark,
    Id::chkDisableAppendReplace, Id::chkUserPassEnabled, Id::chkMasterPassEnabled,
    Id::chkEncryptLevelEnabled,  Id::chkPrintEnabled,    Id::chkCopyEnabled,
    Id::chkModifyEnabled};

TEST(ApplySettings, BitTablesPackTheControls) {
  const BitCase cases[] = {
      {"40-bit, no resizing",
       [](ControlModel& c) {
         c.SetText(Id::cboEncryptLevel, "40 Bit Encryption");
         c.SetValue(Id::chkDisableResizing, 1);
       },
       {{"default options", 0x10008}, {"default options mask", 0x12018}}},
      {"no encryption", [](ControlModel& c) { c.SetText(Id::cboEncryptLevel, "No Encryption"); },
       {{"default options", 0}, {"default options mask", 0x2018}}},
      {"typed level", [](ControlModel& c) { c.SetText(Id::cboEncryptLevel, "128 bit encryption"); },
       {{"default options", 0}, {"default options mask", 0}}},
      {"prevent modification",
       [](ControlModel& c) { c.SetText(Id::cboModifyPermission, "Prevent modification"); },
       {{"default permissions", 0}, {"default permissions mask", 0x528}}},
      {"allow printing and copying",
       [](ControlModel& c) {
         c.SetText(Id::cboPrintPermission, "Allow printing");
         c.SetText(Id::cboCopyPermission, "Allow copying");
       },
       {{"default permissions", 0x14}, {"default permissions mask", 0x14}}},
      {"all sixteen unticked", [](ControlModel& c) { TickAll(c, kSixteenBoxes, 0); },
       {{"disabled options", 0x7E00000}}},
      {"all sixteen ticked", [](ControlModel& c) { TickAll(c, kSixteenBoxes, 1); },
       {{"disabled options", 0x180483C3}}},
      {"greyed counts as ticked", [](ControlModel& c) { TickAll(c, kSixteenBoxes, 2); },
       {{"disabled options", 0x180483C3}}},
  };
  for (const BitCase& row : cases) {
    SCOPED_TRACE(row.what);
    Session s(Windows::Bits64);
    AdminUtilityMain& window = s.Open();
    row.edit(s.controls);
    EXPECT_EQ(window.ApplySettings(), ApplyOutcome::Saved);
    for (const auto& [name, number] : row.machine) {
      EXPECT_EQ(NumberAt(s.registry, kMachineProductKey, name), number) << name;
    }
  }
}

TEST(ApplySettings, PrintDisabledDropsTheSaveDialogsFileOptions) {
  for (const int printPdf : {0, 1}) {
    Session s(Windows::Bits32);
    AdminUtilityMain& window = s.Open();
    PutNumber(s.registry, kSaveDialogKey, "file options", 0x800);
    s.controls.SetValue(Id::chkPrintPDF, printPdf);
    window.ApplySettings();
    EXPECT_EQ(NumberAt(s.registry, kSaveDialogKey, "file options").has_value(), printPdf == 0);
  }
}

struct StoredCase {
  const char* what;
  std::function<void(ControlModel&)> edit;
  std::vector<std::string> stored;  // beyond the eight
};

void Type(ControlModel& c, Id box, const std::string& text) { c.SetText(box, text); }

TEST(ApplySettings, EachSettingLandsUnderItsNameAndScope) {
  const StoredCase cases[] = {
      {"persistent file name", [](ControlModel& c) { Type(c, Id::txtPDFFileName, "C:\\a.pdf"); },
       {"user:PDFDefaultFileName=\"C:\\a.pdf\""}},
      {"file name for the next job",
       [](ControlModel& c) {
         Type(c, Id::txtPDFFileName, "C:\\a.pdf");
         c.SetValue(Id::chkPersistent, 0);
       },
       {"user:PDFFileName=\"C:\\a.pdf\""}},
      {"bare post action gets the placeholder",
       [](ControlModel& c) { Type(c, Id::txtPostAction, "C:\\run.exe"); },
       {"user:Default Post Action=\"C:\\run.exe \"%s\"\""}},
      {"post action with the placeholder stays",
       [](ControlModel& c) {
         Type(c, Id::txtPostAction, "run \"%s\" -q");
         c.SetValue(Id::chkPostActionWait, 0);
         c.SetValue(Id::chkPersistent, 0);
       },
       {"user:Post Action Nowait=\"run \"%s\" -q\""}},
      {"greyed wait stores no command",
       [](ControlModel& c) {
         Type(c, Id::txtPostAction, "run");
         c.SetValue(Id::chkPostActionWait, 2);
       },
       {}},
      {"merge file with a typed command still makes it persistent",
       [](ControlModel& c) {
         Type(c, Id::txtMergeFile, "m.pdf");
         c.SetText(Id::cboMergeCommand, "Append it");
       },
       {"user:persistent=1"}},
      {"prepend for all users",
       [](ControlModel& c) {
         Type(c, Id::txtMergeFile, "m.pdf");
         c.SetText(Id::cboMergeCommand, "Prepend");
         c.SetValue(Id::chkApplyToAllUsers, 1);
       },
       {"machine:PDFPrependFile=\"m.pdf\"", "machine:persistent=1"}},
      {"watermark in the foreground",
       [](ControlModel& c) {
         Type(c, Id::txtWatermarkFile, "w.pdf");
         c.SetText(Id::cboWatermarkCommand, "Foreground");
       },
       {"user:PDFWatermarkFile=\"w.pdf\"", "user:file options=512", "user:persistent=1"}},
      {"watermark with a typed placement",
       [](ControlModel& c) {
         Type(c, Id::txtWatermarkFile, "w.pdf");
         c.SetText(Id::cboWatermarkCommand, "Behind");
       },
       {"user:PDFWatermarkFile=\"w.pdf\"", "user:persistent=1"}},
      {"placement without a watermark file",
       [](ControlModel& c) { c.SetText(Id::cboWatermarkCommand, "Foreground"); }, {}},
      {"two zeros are not exactly \"0\"",
       [](ControlModel& c) { Type(c, Id::txtExcludeWatermarkPost, "00"); },
       {"user:PDFExcludeWatermarkPost=0", "user:persistent=1"}},
      {"no job option, no persistent",
       [](ControlModel& c) {
         Type(c, Id::txtPDFFileName, "C:\\a.pdf");
         Type(c, Id::txtPostAction, "x \"%s\"");
         Type(c, Id::txtMailSubject, "Hello");
       },
       {"machine:PDFMailDefaultSubject=\"Hello\"", "user:Default Post Action=\"x \"%s\"\"",
        "user:PDFDefaultFileName=\"C:\\a.pdf\""}},
      {"numbers: defaults stay absent, others go to the machine",
       [](ControlModel& c) {
         Type(c, Id::txtAppendErrorRetryCount, "4.4");
         Type(c, Id::txtCopyErrorRetryCount, "5.5");
         Type(c, Id::txtAutoMergeInterval, "2,000");
         Type(c, Id::txtDeleteErrorRetryCount, "0");
       },
       {"machine:copy error retry count=6", "machine:delete error retry count=0"}},
      {"paths and mail for all users whatever the scope",
       [](ControlModel& c) {
         Type(c, Id::txtDefaultPath, "C:\\Out");
         Type(c, Id::txtDefaultWatermarkFile, "C:\\w.pdf");
         Type(c, Id::txtMailCCAddress, "cc@x");
         Type(c, Id::txtAutoNameContentSearchWord, "Invoice");
       },
       {"machine:Default Path=\"C:\\Out\"", "machine:PDFDefaultWatermarkFile=\"C:\\w.pdf\"",
        "machine:PDFMailDefaultCCRecipients=\"cc@x\"",
        "user:PDFAutoNameContentSearchWord=\"Invoice\""}},
      {"temporary folder", [](ControlModel& c) { Type(c, Id::txtQuillonTEMP, "%TEMP%\\q"); },
       {"environment:QUILLONTEMP=\"%TEMP%\\q\""}},
  };
  for (const Windows windows : {Windows::Bits32, Windows::Bits64}) {
    for (const StoredCase& row : cases) {
      SCOPED_TRACE(row.what);
      Session s(windows);
      AdminUtilityMain& window = s.Open();
      row.edit(s.controls);
      EXPECT_EQ(window.ApplySettings(), ApplyOutcome::Saved);
      EXPECT_EQ(BeyondTheEight(s.registry), row.stored);
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
    const std::vector<std::string> before = Describe(s.registry);
    const int writes = s.registry.CallCount(RegistryCall::SetValue);
    const int deletes = s.registry.CallCount(RegistryCall::DeleteValue);
    window.Click(Id::btnApply);
    EXPECT_EQ(Describe(s.registry), before);
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

TEST(ApplySettings, PasswordsOnBothPaths) {
  for (const Windows windows : {Windows::Bits64, Windows::Bits32}) {
    Session s(windows);
    AdminUtilityMain& window = s.Open();
    s.controls.SetText(Id::txtUserPass, "Secret");
    EXPECT_EQ(window.ApplySettings(), ApplyOutcome::Saved);
    RegistryAccess access(s.registry, s.messages);
    StoredPasswordCodec codec(access, s.helperLibrary);
    const auto stored = TextAt(s.registry, kMachineProductKey, "default user password");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(*stored, codec.EncryptPassword(kKey, "Secret").text);
    EXPECT_EQ(NumberAt(s.registry, kUserProductKey, "persistent"), 1);
  }
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

TEST(ApplySettings, CancelWritesNothing) {
  Session s(Windows::Bits64);
  AdminUtilityMain& window = s.Open();
  const int writes = s.registry.CallCount(RegistryCall::SetValue);
  const int deletes = s.registry.CallCount(RegistryCall::DeleteValue);
  s.controls.SetText(Id::txtDefaultPath, "C:\\Out");
  window.Click(Id::Command2);
  EXPECT_EQ(s.registry.CallCount(RegistryCall::SetValue), writes);
  EXPECT_EQ(s.registry.CallCount(RegistryCall::DeleteValue), deletes);
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
