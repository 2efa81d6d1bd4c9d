// Form_Load on seeded substitute registries: what the window shows, which
// reads tick "Apply to all users", the bit tables, the names tried in turn,
// undecodable passwords, and the order of the reads.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/ControlTable.h"
#include "app/tests/RegistryCallLog.h"
#include "app/tests/SubstitutePlatform.h"

namespace quillon {
namespace {

using Id = ControlId;

// A check box's value as text, or a text box's or combo's text.
std::string Shown(const ControlModel& controls, Id id) {
  return DefinitionOf(id).kind == ControlKind::kCheckBox ? std::to_string(controls.Value(id))
                                                   : controls.Text(id);
}

// What an empty registry shows is what Apply writes back, and so is pinned by
// the round trips; the greying that ends the load is not written anywhere.
TEST(FormLoad, EmptyRegistryGreysTheFileNameGroupAndWarnsOfNothing) {
  const std::set<Id> greyed = {Id::txtMergeFile, Id::txtWatermarkFile, Id::cboMergeCommand,
                               Id::cboWatermarkCommand, Id::lblAppend, Id::lblApply,
                               Id::lblWatermarkFile};
  Session s(Windows::Bits64);
  s.Open();
  for (const ControlDefinition& definition : ControlTable()) {
    EXPECT_EQ(s.controls.Enabled(definition.id), definition.created.enabled && !greyed.contains(definition.id))
        << ControlName(definition.id);
  }
  EXPECT_TRUE(s.messages.shown.empty());
}

TEST(FormLoad, OnlyMarkedReadsFoundOnlyAtTheMachineTickApplyToAllUsers) {
  const struct {
    const char* what;
    std::string name;
    bool number;
    std::vector<Location> storedAt;
    bool ticks;
  } cases[] = {
      {"watermark file", "PDFWatermarkFile", false, {kMachineProductKey}, true},
      {"file options", "file options", true, {kMachineProductKey}, true},
      {"exclusion count", "PDFExcludeWatermarkPre", true, {kMachineProductKey}, true},
      {"file name", "PDFDefaultFileName", false, {kMachineProductKey}, true},
      {"also at the user key", "PDFWatermarkFile", false, {kUserProductKey, kMachineProductKey},
       false},
      {"also at the legacy key", "file options", true, {kLegacyUserKey, kMachineProductKey}, false},
      {"unmarked number", "auto merge interval", true, {kMachineProductKey}, false},
      {"unmarked password", "default user password", false, {kMachineProductKey}, false},
      {"machine text", "Default Path", false, {kMachineProductKey}, false},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    Session s(Windows::Bits32);
    for (const Location& at : row.storedAt) {
      if (row.number) {
        PutNumber(s.registry, at, row.name, 0x200);
      } else {
        PutText(s.registry, at, row.name, "x");
      }
    }
    s.Open();
    EXPECT_EQ(s.controls.Value(Id::chkApplyToAllUsers), row.ticks ? 1 : 0);
  }
}

TEST(FormLoad, TheLegacyCopyWinsForTextsAndNumbers) {
  Session s(Windows::Bits64);
  const Location places[] = {kLegacyUserKey, kUserProductKey, kMachineProductKey};
  for (std::int32_t i = 0; i < 3; ++i) {
    PutText(s.registry, places[i], "PDFWatermarkFile", "mark" + std::to_string(i));
    PutNumber(s.registry, places[i], "PDFExcludeWatermarkPost", 10 + i);
    PutNumber(s.registry, places[i], "copy error retry count", 20 + i);
  }
  s.Open();
  EXPECT_EQ(s.controls.Text(Id::txtWatermarkFile), "mark0");
  EXPECT_EQ(s.controls.Text(Id::txtExcludeWatermarkPost), "10");
  EXPECT_EQ(s.controls.Text(Id::txtCopyErrorRetryCount), "20");
  EXPECT_EQ(s.controls.Value(Id::chkApplyToAllUsers), 0);
  EXPECT_TRUE(s.controls.Enabled(Id::txtExcludeWatermarkPre)) << "a watermark file was loaded";
}

TEST(FormLoad, PostActionMergeAndFileNameTakeTheFirstNameFound) {
  Session s(Windows::Bits32);
  PutText(s.registry, kUserProductKey, "Post Action Nowait", "run.exe");
  PutText(s.registry, kMachineProductKey, "Default Post Action", "other.exe");
  PutText(s.registry, kUserProductKey, "PDFAppendFile", "after.pdf");
  PutText(s.registry, kLegacyUserKey, "PDFPrependFile", "before.pdf");
  PutText(s.registry, kUserProductKey, "PDFDefaultFileName", "C:\\out.pdf");
  s.Open();
  EXPECT_EQ(s.controls.Text(Id::txtPostAction), "run.exe");
  EXPECT_EQ(s.controls.Value(Id::chkPostActionWait), 0);
  EXPECT_EQ(s.controls.Text(Id::txtMergeFile), "before.pdf");
  EXPECT_EQ(s.controls.Text(Id::cboMergeCommand), "Prepend");
  EXPECT_EQ(s.controls.Text(Id::txtPDFFileName), "C:\\out.pdf");
  EXPECT_TRUE(s.controls.Enabled(Id::txtMergeFile));
  EXPECT_EQ(s.controls.Value(Id::chkApplyToAllUsers), 0) << "the machine's command was not read";
}

// Beyond the values the round trips load and write back.
TEST(FormLoad, NumbersAndBitTablesShowAsTheTablesSay) {
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::int32_t>> machine;  // at the machine product key
    Id control;
    std::string shown;
  } cases[] = {
      {"mask lacks an encryption bit", {{"default options mask", 0x2008}, {"default options", 0x8}},
       Id::cboEncryptLevel, ""},
      {"no encryption", {{"default options mask", 0x2018}}, Id::cboEncryptLevel, "No Encryption"},
      {"40-bit beats 128-bit", {{"default options mask", 0x2018}, {"default options", 0x18}},
       Id::cboEncryptLevel, "40 Bit Encryption"},
      {"256-bit", {{"default options mask", 0x12018}, {"default options", 0x2000}},
       Id::cboEncryptLevel, "256 Bit Encryption"},
      {"resizing without a mask", {{"default options", 0x10000}}, Id::chkDisableResizing, "0"},
      {"one modify bit", {{"default permissions mask", 0x20}, {"default permissions", 0x400}},
       Id::cboModifyPermission, "Allow modification"},
      {"prevent printing", {{"default permissions mask", 0x4}}, Id::cboPrintPermission,
       "Prevent printing"},
      {"copy outside the mask", {{"default permissions", 0x10}}, Id::cboCopyPermission, ""},
      {"user password locked", {{"disabled options", 0x200000}}, Id::chkUserPassEnabled, "0"},
      {"-1 is absent", {{"disabled options", -1}}, Id::chkUserPassEnabled, "1"},
      {"both placements", {{"file options", 0xA00}}, Id::cboWatermarkCommand, "Background"},
      {"foreground", {{"file options", 0x200}}, Id::cboWatermarkCommand, "Foreground"},
      {"exclusion stored as -1", {{"PDFExcludeWatermarkPre", -1}}, Id::txtExcludeWatermarkPre, "0"},
      {"preview 5 shows ticked", {{"PDFPreview", 5}}, Id::chkUseQuillonDestkopPreview, "1"},
      {"keyboard check -7", {{"disable autoname keyboard check", -7}},
       Id::chkDisableAutoNameKeyboardCheck, "1"},
  };
  for (const Windows windows : {Windows::Bits32, Windows::Bits64}) {
    for (const auto& row : cases) {
      SCOPED_TRACE(row.what);
      Session s(windows);
      for (const auto& [name, number] : row.machine) {
        PutNumber(s.registry, kMachineProductKey, name, number);
      }
      s.Open();
      EXPECT_EQ(Shown(s.controls, row.control), row.shown);
    }
  }
}

TEST(FormLoad, ResolveNamesSearchesOnPastZero) {
  const struct {
    std::int32_t legacy, machine;
    int shown;
  } cases[] = {{0, 1, 1}, {2, 0, 2}, {9, 0, 1}, {-1, 0, 0}};
  for (const auto& row : cases) {
    Session s(Windows::Bits32);
    PutNumber(s.registry, kLegacyUserKey, "PDFMailResolveNames", row.legacy);
    PutNumber(s.registry, kMachineProductKey, "PDFMailResolveNames", row.machine);
    s.Open();
    EXPECT_EQ(s.controls.Value(Id::chkResolveNames), row.shown) << row.legacy << "/" << row.machine;
  }
}

TEST(FormLoad, PasswordsAreDecodedOrLeftEmptyWithOneWarningEach) {
  Session own(Windows::Bits64);
  RegistryAccess access(own.registry, own.messages);
  StoredPasswordCodec codec(access, own.helperLibrary);
  PutText(own.registry, kUserProductKey, "default user password",
          codec.EncryptPassword(std::string(kStoredPasswordKey), "Secret").text);
  PutText(own.registry, kMachineProductKey, "default master password", "NOT HEX");
  own.Open();
  EXPECT_EQ(own.controls.Text(Id::txtUserPass), "Secret");
  EXPECT_EQ(own.controls.Text(Id::txtMasterPass), "");
  ASSERT_EQ(own.messages.shown.size(), 1u);
  EXPECT_NE(own.messages.shown[0].text.find("\"default master password\""), std::string::npos);
  EXPECT_EQ(own.messages.shown[0].title, "Quillon Administrator Utility");
  EXPECT_EQ(own.messages.shown[0].style, 0x30u);

  Session library(Windows::Bits32);
  library.helperLibrary.decryptStatus = HelperStatus::LibraryMissing;
  PutText(library.registry, kMachineProductKey, "default user password", "stored");
  library.Open();
  EXPECT_EQ(library.controls.Text(Id::txtUserPass), "");
  ASSERT_EQ(library.messages.shown.size(), 1u) << "an empty stored master password is no failure";
  EXPECT_NE(library.messages.shown[0].text.find("quillonc.dll"), std::string::npos);
}

TEST(FormLoad, ReadsInTheLoadsOrder) {
  Session s(Windows::Bits32);
  RegistryCallLog log(s.registry);
  s.OpenOver(log);
  std::vector<std::string> names;
  for (const RegistryCallLog::Entry& entry : log.entries) {
    EXPECT_EQ(entry.kind, RegistryCallLog::Kind::Read) << entry.name;
    if (names.empty() || names.back() != entry.name) names.push_back(entry.name);
  }
  const std::vector<std::string> expected = {
      "Default Path", "PDFDefaultWatermarkFile", "default options", "default options mask",
      "default permissions", "default permissions mask", "disabled options",
      "default user password", "default master password", "Post Action", "Post Action Nowait",
      "Default Post Action", "Default Post Action Nowait", "PDFPrependFile", "PDFAppendFile",
      "PDFFileName", "PDFDefaultFileName", "PDFAutoNameContentSearchWord",
      "PDFMailDefaultSubject", "PDFMailDefaultRecipients", "PDFMailDefaultNote",
      "PDFMailDefaultCCRecipients", "QUILLONTEMP", "PDFMailResolveNames", "file options",
      "PDFExcludeWatermarkPre", "PDFExcludeWatermarkPost", "PDFWatermarkFile",
      "auto merge interval", "append error retry count", "copy error retry count",
      "rename error retry count", "delete error retry count", "disable autoname keyboard check",
      "PDFPreview"};
  EXPECT_EQ(names, expected);
}

}  // namespace
}  // namespace quillon
