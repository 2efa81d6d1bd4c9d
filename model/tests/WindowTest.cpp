// The main window on the substitute registry, one scenario a row: what is
// stored before the load, what the load shows, what the administrator then
// types, and after a click (Apply unless told) the whole registry, the start of
// each box shown, the pages printed and what was asked of the window and of the
// file picker. Each row runs on 32-bit and 64-bit Windows unless it names one.
// Then the tab order, the catalogue's names, and a round trip and fault
// injection over every setting.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model/substitute/SubstitutePlatform.h"

namespace quillon {
namespace {

using Id = ControlId;
using namespace std::string_literals;

struct Scenario {
  int bits = 0;  // 32 or 64: on that system only
  HelperStatus library = HelperStatus::Ok;
  const char* seeded = "";  // each entry ended by a ";"
  const char* shown = "";   // after the load
  const char* typed = "";
  Id click = Id::btnApply;
  Lines after = Pass(""), messages = {"Settings saved."};  // the start of each box
  std::string window = "wait;restore;close;";
  Lines printed = {};
  Lines asked = {};  // of the file picker, "<title>|<flags>"
};

// The stored forms of "Pw" and "Secret" on the own path are 3E2C540A0477105B
// and 5D044FFA2A7F0702.
const std::string kRange = "\" must hold a number from -2147483648 to 2147483647, not \"";
// The picker's flags: the read-only box hidden and no network button (0x20004),
// and the file must exist (0x21004).
const std::string kAnyName = "|131076", kExisting = "|135172";

// Controls greyed while their box is empty.
const Scenario kScenarios[] = {
    // the largest and smallest numbers a box takes; a typed password alone is a job option, so
    // "persistent" goes with it
    {.bits = 64,
     .typed = "txtAutoMergeInterval=2147483647; txtDeleteErrorRetryCount=-2147483648; "
              "txtUserPass=Pw;",
     .after = Pass(R"(machine:auto merge interval=2147483647;
       machine:delete error retry count=-2147483648;
       machine:default user password="3E2C540A0477105B"; user:persistent=1;)")},
    // a page count at the machine alone ticks "Apply to all users"; where only a number that is
    // not 0 counts, a 0 in the 64-bit view is the key's number, and its default view goes unread
    {.bits = 64,
     .seeded = R"(machine:PDFExcludeWatermarkPre=3; machine64:PDFMailResolveNames=0;
       machine:PDFMailResolveNames=1;)",
     .shown = "txtExcludeWatermarkPre=3; chkApplyToAllUsers=1; chkResolveNames=0;",
     .click = Id::Command2,
     .after = {"machine64:PDFMailResolveNames=0", "machine:PDFExcludeWatermarkPre=3",
               "machine:PDFMailResolveNames=1"},
     .messages = {},
     .window = "close;"},
    // an empty registry shows the created window; a pass writes the eight numbers and removes
    // every copy of the title; a lone "." is no page count
    {.seeded = R"(user:PDFTitle="Report"; legacy:PDFTitle="L"; machine64:PDFTitle="M";
       savedialog:file options=2048;)",
     .shown = R"(txtAutoMergeInterval=2000; txtAppendErrorRetryCount=4; txtCopyErrorRetryCount=10;
       txtRenameErrorRetryCount=4; txtDeleteErrorRetryCount=10; cboMergeCommand=Append;
       chkPersistent=1; chkPostActionWait=1; chkApplyToAllUsers=0;)",
     .typed = "txtExcludeWatermarkPre=.;",
     .after = Pass("savedialog:file options=2048;")},
    // legacy, then user, then machine: the first copy found wins and marks nothing; background
    // wins over foreground; an encryption mask lacking a bit shows no level
    {.seeded = R"(user:file options=2560; machine:default options mask=8200;
       machine:default options=8; legacy:PDFWatermarkFile="mark0"; user:PDFWatermarkFile="mark1";
       machine:PDFWatermarkFile="mark2"; user:PDFExcludeWatermarkPost=11; user:PDFPreview=2;
       machine:PDFExcludeWatermarkPost=12; legacy:copy error retry count=20;
       user:copy error retry count=21; legacy:PDFMailResolveNames=0; machine:PDFMailResolveNames=1;
       machine:disable autoname keyboard check=-7; user:Post Action Nowait="run";
       machine:Default Post Action="other"; user:PDFAppendFile="after.pdf";
       legacy:PDFPrependFile="before.pdf"; user:PDFDefaultAppendFile="d.pdf";
       user:PDFMailDefaultSubject="not read"; environment:QUILLONTEMP="%T%\Q";)",
     .shown = R"(txtWatermarkFile=mark0; txtExcludeWatermarkPost=11; txtCopyErrorRetryCount=20;
       chkResolveNames=1; chkUseQuillonDestkopPreview=2; chkDisableAutoNameKeyboardCheck=1;
       txtPostAction=run; chkPostActionWait=0; txtMailSubject=; txtMergeFile=before.pdf;
       cboMergeCommand=Prepend; txtQuillonTEMP=%T%\Q; cboWatermarkCommand=Background;
       cboEncryptLevel=;)",
     .after = Pass(R"(user:PDFWatermarkFile="mark0"; user:PDFExcludeWatermarkPost=11;
       user:file options=2048; user:persistent=1; machine:PDFPreview=2;
       machine:copy error retry count=20; machine:PDFMailResolveNames=1;
       machine:disable autoname keyboard check=1; user:PDFPrependFile="before.pdf";
       user:Default Post Action Nowait="run "%s""; environment:QUILLONTEMP="%T%\Q";)")},
    // the 64-bit view first for numbers, never for texts; a copy at the machine only marks; the
    // copy lock; one bit of the modification group; no resizing without a mask
    {.bits = 64,
     .seeded = R"(machine64:copy error retry count=64; machine:copy error retry count=32;
       machine64:PDFWatermarkFile="w64"; machine64:disabled options=67108865;
       machine:disabled options=2; machine:default permissions mask=32;
       machine:default permissions=1024; machine:default options=65536;
       machine:file options=512; user:PDFFileName="a"; machine:Default Path="C:\Out";
       legacy:PDFMailResolveNames=9;)",
     .shown = R"(txtCopyErrorRetryCount=64; txtWatermarkFile=; chkSendPDF=1; chkViewPDF=0;
       cboWatermarkCommand=Foreground; chkApplyToAllUsers=1; chkResolveNames=1; chkCopyEnabled=0;
       chkModifyEnabled=1; cboModifyPermission=Allow modification; chkDisableResizing=0;)",
     .after = Pass(R"(machine:copy error retry count=64; machine:disabled options=67108865;
       machine:default permissions=1320; machine:default permissions mask=1320;
       machine:PDFDefaultFileName="a"; machine:Default Path="C:\Out";
       machine:PDFMailResolveNames=1;)")},
    // files chosen for the next job, the action without waiting, cancelled pickers, a typed
    // merge command, print disabled, an emptied folder, 40 bits, no resizing, page counts of
    // "-" and ""
    {.seeded = R"(savedialog:file options=2048; environment:QUILLONTEMP="C:\T";)",
     .typed = R"(chkPrintPDF=1; txtQuillonTEMP=; btnSelectPDFFileName=C:\a.pdf;
       btnSelectPDFFileName=; chkPersistent=0; cboEncryptLevel=40 Bit Encryption;
       chkDisableResizing=1; txtExcludeWatermarkPre=-; txtExcludeWatermarkPost=;
       txtPostAction=run "%s" -q; chkPostActionWait=0; btnSelectMergeFile=m.pdf;
       btnSelectMergeFile=; cboMergeCommand=Append it; btnSelectWatermarkFile=w.pdf;
       btnSelectWatermark=C:\w.pdf;)",
     .after = Pass(R"(user:PDFFileName="C:\a.pdf"; user:Post Action Nowait="run "%s" -q";
       user:PDFWatermarkFile="w.pdf"; user:file options=2048; machine:disabled options=128;
       machine:PDFDefaultWatermarkFile="C:\w.pdf"; machine:default options=65544;
       machine:default options mask=73752;)"),
     .asked = {"Select the PDF file" + kAnyName, "Select the PDF file" + kAnyName,
               "Select the PDF file to merge" + kAnyName, "Select the PDF file to merge" + kAnyName,
               "Select the Watermark PDF file" + kAnyName,
               "Select a watermark PDF file" + kExisting}},
    // typed numbers are rounded, half to even, and left absent at their defaults; lists; a
    // page count of letters becomes "0", one of "00" is stored and makes the pass persistent; a
    // post action at the machine ticks "Apply to all users"
    {.seeded = R"(machine:Post Action="p";)",
     .shown = "chkApplyToAllUsers=1;",
     .typed = R"(txtAppendErrorRetryCount=4.5; txtCopyErrorRetryCount=5.5;
       txtAutoMergeInterval= 2,000 ; txtDeleteErrorRetryCount=0;
       txtRenameErrorRetryCount=-00000000005; cboEncryptLevel=No Encryption;
       cboPrintPermission=Allow printing; cboCopyPermission=Allow copying;
       txtExcludeWatermarkPre=12a; txtExcludeWatermarkPost=00;)",
     .after = Pass(R"(machine:copy error retry count=6; machine:delete error retry count=0;
       machine:rename error retry count=-5; machine:default options mask=8216;
       machine:default permissions=20; machine:default permissions mask=20;
       machine:PDFExcludeWatermarkPost=0; machine:persistent=1;
       machine:Default Post Action="p "%s"";)")},
    // passwords are decoded, encoded and stored or deleted at the machine only; "-3" and "2.5"
    // are page counts
    {.bits = 64,
     .seeded = R"(user:default master password="3E2C540A0477105B";)",
     .shown = R"(txtMasterPass=Pw;)",
     .typed = R"(txtUserPass=Secret; txtMasterPass=; txtExcludeWatermarkPre=-3;
       txtExcludeWatermarkPost=2.5;)",
     .after = Pass(R"(user:default master password="3E2C540A0477105B"; user:persistent=1;
       user:PDFExcludeWatermarkPre=-3; user:PDFExcludeWatermarkPost=2;
       machine:default user password="5D044FFA2A7F0702";)")},
    // without the library's export a typed password is not saved, and Test says so after its
    // second pass
    {.bits = 32,
     .library = HelperStatus::ExportMissing,
     .typed = "txtMasterPass=new;",
     .click = Id::btnTestFile,
     .after = Pass("user:persistent=1;"),
     .messages = {"\"default master password\" was not saved: quillonc.dll lacks the function "
                  "that encodes it. ",
                  "File \"\" created.", "\"default master password\" was not saved",
                  "Not all settings were saved"},
     .window = "wait;restore;wait;restore;",
     .printed = {"Office>Quillon|24| | | |           Quillon test to \"\""}},
    // numbers that cannot be stored refuse the pass before any write, and then Test prints nothing
    {.seeded = R"(user:PDFTitle="T";)",
     .typed = "txtAutoMergeInterval=abc; txtDeleteErrorRetryCount=2147483648;",
     .click = Id::btnTestFile,
     .after = {"user:PDFTitle=\"T\""},
     .messages = {"Nothing was saved.\n\n\"Auto Merge Interval" + kRange + "abc\".\n\n" +
                  "\"Delete Error Retry Count" + kRange +
                  "2147483648\".|Quillon Administrator Utility|48"},
     .window = ""},
    // an overlaid merge file refuses the pass
    {.typed = "txtMergeFile=m.pdf; cboMergeCommand=Overlay;",
     .after = {},
     .messages = {"Nothing was saved.\n\n\"Overlay\" cannot be stored for the merge file"},
     .window = ""},
    // Test writes, prints, names the file, and writes again, keeping the title
    {.seeded = R"(user:PDFTitle="Report";)",
     .typed = R"(txtPDFFileName=C:\t.pdf;)",
     .click = Id::btnTestFile,
     .after = Pass(R"(user:PDFTitle="Report"; user:PDFDefaultFileName="C:\t.pdf";)"),
     .messages = {"File \"C:\\t.pdf\" created.|Quillon Administrator Utility|0"},
     .window = "wait;restore;wait;restore;",
     .printed = {"Office>Quillon|24| | | |           Quillon test to \"C:\\t.pdf\""}},
    // Cancel writes none of what Apply would (remove the title, move the legacy copy, write the
    // numbers); "amd64" is no 64-bit Windows, so the 64-bit view goes unread
    {.bits = 64,
     .seeded = R"(environment:PROCESSOR_ARCHITECTURE="amd64"; machine64:copy error retry count=64;
       legacy:PDFWatermarkFile="w"; user:PDFTitle="T";)",
     .shown = "txtCopyErrorRetryCount=10;",
     .click = Id::Command2,
     .after = {"legacy:PDFWatermarkFile=\"w\"", "machine64:copy error retry count=64",
               "user:PDFTitle=\"T\""},
     .messages = {},
     .window = "close;"},
};

TEST(Window, Scenarios) {
  for (const Scenario& row : kScenarios) {
    for (const Windows windows : {Windows::Bits32, Windows::Bits64}) {
      if (row.bits == (windows == Windows::Bits32 ? 64 : 32)) continue;
      SCOPED_TRACE(testing::Message() << "row " << &row - kScenarios
                                      << (windows == Windows::Bits32 ? ", 32-bit" : ", 64-bit"));
      Session s(windows);
      s.library.status = row.library;
      for (const std::string& line : Split(row.seeded)) s.Seed(line);
      AdminUtilityMain& window = s.Open();
      const Lines loaded = s.Snapshot();
      for (const std::string& entry : Split(row.shown))
        EXPECT_EQ(std::ranges::count(loaded, entry), 1) << entry;
      for (const std::string& entry : Split(row.typed)) s.Type(entry);
      window.Click(row.click);
      EXPECT_EQ(s.Describe(), row.after);
      ASSERT_EQ(s.messages.shown.size(), row.messages.size());
      for (std::size_t i = 0; i < row.messages.size(); ++i) {
        EXPECT_TRUE(s.messages.shown[i].starts_with(row.messages[i])) << s.messages.shown[i];
      }
      EXPECT_EQ(s.controls.windowCalls, row.window);
      EXPECT_EQ(s.printers.documents, row.printed);
      EXPECT_EQ(s.dialog.requests, row.asked);
      // Each pass that ran, a "wait;" in the window's calls, announced the environment once.
      EXPECT_EQ(s.broadcast.announcements, std::ranges::count(row.window, 'w'));
    }
  }
}

// What is greyed after the load and the typing, every other control usable:
// the merge and watermark boxes mean something only with a PDF file name, the
// watermark's page counts only with a watermark file.
const std::string kFileNameOff = "txtMergeFile; txtWatermarkFile; cboMergeCommand; "
                                 "cboWatermarkCommand; lblAppend; lblApply; lblWatermarkFile;";
const std::string kWatermarkOff = "lblWatermark; lblWatermarkPre; lblWatermarkPost; "
                                  "txtExcludeWatermarkPre; txtExcludeWatermarkPost;";
const struct {
  const char* seeded;
  const char* typed;
  std::string greyed;
} kGreying[] = {
    {"", "", kFileNameOff + kWatermarkOff},
    {R"(user:PDFFileName="a"; legacy:PDFWatermarkFile="w";)", "", ""},
    {R"(user:PDFFileName="a"; legacy:PDFWatermarkFile="w";)", "txtWatermarkFile=;", kWatermarkOff},
    // blanks are a name
    {"", "txtPDFFileName= ;", kWatermarkOff},
    {"", "txtPDFFileName=a; txtWatermarkFile=w; txtPDFFileName=;", kFileNameOff},
};

TEST(Window, GreysWhatNeedsAFileNameOrAWatermarkFile) {
  for (const auto& row : kGreying) {
    SCOPED_TRACE(testing::Message() << row.seeded << row.typed);
    Session s;
    for (const std::string& line : Split(row.seeded)) s.Seed(line);
    s.Open();
    for (const std::string& entry : Split(row.typed)) s.Type(entry);
    const Lines greyed = Split(row.greyed);
    for (const ControlDefinition& c : ControlTable()) {
      EXPECT_EQ(s.controls.Enabled(c.id), std::ranges::count(greyed, ControlName(c.id)) == 0)
          << ControlName(c.id);
    }
  }
}

TEST(ControlTable, EachTabStopIsTakenOnce) {
  std::set<int> tabOrders = {kTabControl.tabOrder};
  for (const ControlDefinition& c : ControlTable())
    EXPECT_TRUE(!c.tabOrder || tabOrders.insert(*c.tabOrder).second) << ControlName(c.id);
}

// A long table hides a name given twice at one place, a read of the wrong
// type, a label or a default where nothing uses it; the load's order is
// checked against the table while building.
TEST(SettingsCatalogue, EachRowIsWhole) {
  std::set<std::pair<std::string_view, bool>> names;  // name, at the save dialog key
  for (const Setting& row : SettingsCatalogue()) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(names.insert({row.name, row.write == WriteRule::SaveDialog}).second);
    const bool numberRead = row.read == ReadRule::MachineNumber ||
                            row.read == ReadRule::UserFirstNumber ||
                            row.read == ReadRule::FirstNonZero;
    if (row.read != ReadRule::Never) {
      EXPECT_EQ(row.type == ValueType::Number, numberRead);
    }
    const bool numberBox = row.control && row.type == ValueType::Number && !row.bitSet &&
                           DefinitionOf(*row.control).kind == ControlKind::kTextBox;
    EXPECT_EQ(row.label.has_value(), numberBox);
    if (row.defaultNumber != 0) {
      EXPECT_TRUE(row.read == ReadRule::UserFirstNumber || row.when == StoredWhen::NumberNotDefault);
    }
  }
}

// Fault injection, over a window where every value has an old copy at every
// place it can live in (passwords, which a per-user copy would shadow, at the
// machine only) and every control is then changed. A pass that succeeds must
// bring a later load to show every change. A pass whose k-th registry write,
// delete or open fails (for every k) must leave each control, as a fresh load
// shows it, as before or as after the pass, never anything else, name the
// failed step, say that not everything was saved, keep the window open and the
// title stored. Bit sets, which the load decodes from several values
// together, are left out of that comparison.
struct Attempt : Session {
  Attempt(bool forAllUsers, RegistryCall call, int k) {
    RegistryAccess access(registry, messages);
    SettingLocations locations(access);
    StoredPasswordCodec codec(locations, library);
    int number = 100;
    for (const Setting& row : SettingsCatalogue()) {
      for (const std::string place : {"legacy:", "user:", "machine64:", "machine:"}) {
        std::string data = std::to_string(++number);
        if (row.read == ReadRule::Password && place != "machine:") continue;
        if (row.read == ReadRule::Password) {
          data = codec.EncryptPassword(data).text;
        }
        Seed(place + std::string(row.name) + "=" +
             (row.type == ValueType::Text ? '"' + data + '"' : data));
      }
    }
    Seed("user:PDFTitle=\"Report\"");
    before = Reload();
    const std::size_t loadBoxes = messages.shown.size();
    for (const ControlDefinition& c : ControlTable()) {
      if (c.kind == ControlKind::kTextBox) controls.SetText(c.id, "new " + Shown(c.id));
      if (c.kind == ControlKind::kComboBox) controls.SetText(c.id, std::string(c.listItems[1]));
      if (c.kind == ControlKind::kCheckBox && c.id != Id::chkPersistent) {
        controls.SetValue(c.id,
                          c.id == Id::chkApplyToAllUsers ? forAllUsers : !controls.Value(c.id));
      }
    }
    for (const Setting& row : SettingsCatalogue()) {
      if (row.label) controls.SetText(*row.control, std::to_string(row.name.size()));
    }
    calls = registry.CallCount(call);
    registry.FailCall(call, k, kErrorAccessDenied);  // k = 0: a call already made, so none
    if (k > 0) {
      window->btnApply_Click();
    } else {
      EXPECT_EQ(window->ApplySettings(), ApplyOutcome::Saved);
    }
    calls = registry.CallCount(call) - calls;
    failure = messages.shown.size() > loadBoxes ? messages.shown[loadBoxes] : "";
    edited = Snapshot();
    stored = Describe();
    after = Reload();
  }
  Lines Reload() {
    window.reset();
    outcome = messages.shown.empty() ? "" : messages.shown.back() + controls.windowCalls;
    controls = ControlModel();
    Open();
    return Snapshot();
  }

  Lines before, edited, after, stored;
  std::string outcome;  // the last box shown and the window's calls, before the fresh load
  std::string failure;  // the first box the pass showed
  int calls;
};

TEST(FaultInjection, EverySettingKeepsItsOldValueOrGetsItsNewOne) {
  std::set<Id> decoded = {kEncryptionCombo, kResizingBox};
  for (const DisabledOptionBit& option : kDisabledOptionBits) decoded.insert(option.box);
  for (const PermissionCombo& combo : kPermissionCombos) decoded.insert(combo.combo);
  for (const bool forAllUsers : {false, true}) {
    for (const auto& [call, operation, step] : {std::tuple{RegistryCall::SetValue, "save", "save"},
                                                {RegistryCall::DeleteValue, "delete", "save"},
                                                {RegistryCall::OpenKey, "delete", "open"}}) {
      const Attempt clean(forAllUsers, call, 0);
      EXPECT_EQ(clean.after, clean.edited);
      for (int k = 1; k <= clean.calls; ++k) {
        SCOPED_TRACE(testing::Message() << "call " << static_cast<int>(call) << ", k = " << k
                                        << (forAllUsers ? ", for all users" : ", for the user"));
        const Attempt failed(forAllUsers, call, k);
        for (const ControlDefinition& c : ControlTable()) {
          const std::size_t i = IndexOf(c.id);
          EXPECT_TRUE(decoded.contains(c.id) || failed.after[i] == failed.before[i] ||
                      failed.after[i] == clean.after[i])
              << failed.after[i];
        }
        EXPECT_TRUE(
            failed.failure.starts_with("Unable to "s + operation + " value ") &&
            failed.failure.ends_with(", "s + step + " error code 5|Quillon Admin Utility|48"))
            << failed.failure;
        EXPECT_TRUE(failed.outcome.starts_with("Not all settings were saved"));
        EXPECT_TRUE(failed.outcome.ends_with("48wait;restore;")) << "the window stays open";
        EXPECT_EQ(std::ranges::count(failed.stored, "user:PDFTitle=\"Report\""), 1);
      }
    }
  }
}

}  // namespace
}  // namespace quillon
