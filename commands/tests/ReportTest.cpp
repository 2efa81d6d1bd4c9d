// The report on seeded registries, one row a case: for each setting the copy
// the load took and what it made of every other copy, as the load itself
// recorded it; no password in it; and the registry untouched.
#include <gtest/gtest.h>

#include "model/substitute/SubstitutePlatform.h"
#include "commands/SettingsReport.h"
#include "commands/UserCopies.h"
#include "commands/tests/MachineUsers.h"

namespace quillon {
namespace {

struct Row {
  Windows windows;
  const char* seeded;
  Lines present;      // each found in the report as it stands, lines and all
  Lines absent = {};  // each found nowhere in it
  Lines denied = {};  // places (as seeded) whose key no open may read
};

// The stored form of "Pw" on the own path is 3E2C540A0477105B.
const Row kRows[] = {
    // a number in both views, a text in every place, passwords stored twice
    {Windows::Bits64,
     R"(machine64:copy error retry count=64; machine:copy error retry count=32;
       user:copy error retry count="9"; legacy:PDFWatermarkFile="mine"; user:PDFWatermarkFile="ours";
       machine:PDFWatermarkFile="all"; machine64:PDFWatermarkFile="w64"; machine64:disabled options=1;
       machine:default master password="3E2C540A0477105B"; user:default master password="ABC";
       user:Post Action Nowait="run"; machine:Post Action="late"; machine:Default Post Action="x";)",
     {R"(    shows "64"
    "copy error retry count" from HKLM\Software\Marrowby\Quillon (64-bit view): REG_DWORD 64
      skipped, the wrong type for a number: HKCU\Software\Marrowby\Quillon: REG_SZ "9"; Apply clears it
      hidden HKLM\Software\Marrowby\Quillon (32-bit view): REG_DWORD 32; Apply clears it
)",
      R"(    "PDFWatermarkFile" from HKCU\Software\VB and VBA Program Settings\Marrowby\Quillon: REG_SZ "mine"
      hidden HKCU\Software\Marrowby\Quillon: REG_SZ "ours"; Apply clears it
      not read by the window: HKLM\Software\Marrowby\Quillon (64-bit view): REG_SZ "w64"; Apply clears it
      hidden HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ "all"; Apply clears it
)",
      R"(    shows [x] Disable "Send File"; [x] Allow user password  to be changed;)",
      R"(    shows "late"
    "Post Action" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ "late"; ticks "Apply to all users"
    "Post Action Nowait" not used: the box shows "Post Action" instead
      hidden HKCU\Software\Marrowby\Quillon: REG_SZ "run"; Apply clears it
    "Default Post Action" not used: the box shows "Post Action" instead
      hidden HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ "x"; Apply clears it
)",
      R"(    shows a password that cannot be decoded
    "default master password" from HKCU\Software\Marrowby\Quillon: REG_SZ, a stored password
      hidden HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ, a stored password; Apply leaves it
)",
      R"(    "default user password" found nowhere, the window shows its default
)",
      R"("Apply to all users": ticked)",
      "The window would have said: The stored \"default master password\" could not be decoded"}},
    // -1 read as no number, in a number, under a number and in a bit set; 0
    // over 1 where only a number that is not 0 counts; a machine-only text
    // with per-user copies and an empty one that is taken as it is, as is an empty folder
    {Windows::Bits64,
     R"(machine:copy error retry count=-1; user:append error retry count=-1;
       machine:append error retry count=5; machine64:disabled options=-1; machine:disabled options=3;
       user:PDFMailResolveNames=0; machine:PDFMailResolveNames=1; legacy:Default Path="l";
       user:Default Path="u"; machine:Default Path=""; machine:default user password="3e2c540a0477105b";
       user:default master password="3E2C540A0477105G"; machine:PDFDefaultFileName="d.pdf";
       user:rename error retry count=6; machine:rename error retry count=8;
       legacy:default user password=""; environment:QUILLONTEMP="";)",
     {R"(    shows "10"
    "copy error retry count": no copy taken, the window shows its default
      skipped, -1 is read as no number: HKLM\Software\Marrowby\Quillon (32-bit view): REG_DWORD -1; Apply clears it
)",
      R"(    "append error retry count" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_DWORD 5
      skipped, -1 is read as no number: HKCU\Software\Marrowby\Quillon: REG_DWORD -1; Apply clears it
)",
      R"(    "disabled options" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_DWORD 3 (0x00000003)
      skipped, -1 is read as no number: HKLM\Software\Marrowby\Quillon (64-bit view): REG_DWORD -1 (0xFFFFFFFF); Apply clears it
)",
      R"(    shows ticked
    "PDFMailResolveNames" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_DWORD 1
      skipped, 0 does not count here: HKCU\Software\Marrowby\Quillon: REG_DWORD 0; Apply clears it
)",
      R"(    shows ""
    "Default Path" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ ""
      not read by the window: HKCU\Software\VB and VBA Program Settings\Marrowby\Quillon: REG_SZ "l"; Apply clears it
      not read by the window: HKCU\Software\Marrowby\Quillon: REG_SZ "u"; Apply clears it
)",
      R"(    "rename error retry count" from HKCU\Software\Marrowby\Quillon: REG_DWORD 6
      hidden HKLM\Software\Marrowby\Quillon (32-bit view): REG_DWORD 8; Apply clears it
)",
      R"(  Default user password
    shows a password (set)
    "default user password" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ, a stored password
      skipped, an empty text: HKCU\Software\VB and VBA Program Settings\Marrowby\Quillon: REG_SZ, empty; Apply leaves it
)",
      "  Default master password\n    shows a password that cannot be decoded\n",
      R"(    "PDFDefaultFileName" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ "d.pdf"; ticks "Apply to all users")",
      R"(    "QUILLONTEMP" from HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment: REG_SZ "")"},
     {"hidden HKCU\\Software\\Marrowby\\Quillon: REG_DWORD -1", "(32-bit view): REG_DWORD -1\n",
      "-1 (0xFFFFFFFF)\n    \"disabled options\" from"}},
    // an empty text skipped for another name, the merge file under its other
    // name, a per-user temporary folder; wrong-typed passwords; 32-bit Windows
    {Windows::Bits32,
     R"(machine:PDFFileName=""; user:PDFDefaultFileName="C:\x.pdf"; user:Post Action="";
       machine:Post Action Nowait="go"; machine:PDFAppendFile="b.pdf"; environment:QUILLONTEMP="C:\T";
       userenvironment:QUILLONTEMP="C:\Mine";
       user:default user password=12345; machine:default user password=hex:0a0b0c0d0e0f1011;
       legacy:default master password=multi:"3E2C540A0477105B";
       machine:PDFAutoNameContentSearchWord="Invoice"; machine64:PDFPreview=1;
       savedialog:file options=2048;)",
     {R"(    shows "C:\x.pdf"
    "PDFFileName" not used: the box shows "PDFDefaultFileName" instead
      skipped, an empty text: HKLM\Software\Marrowby\Quillon: REG_SZ ""; Apply clears it
    "PDFDefaultFileName" from HKCU\Software\Marrowby\Quillon: REG_SZ "C:\x.pdf"
)",
      R"(    "Post Action" not used: the box shows "Post Action Nowait" instead
      skipped, an empty text: HKCU\Software\Marrowby\Quillon: REG_SZ ""; Apply clears it
    "Post Action Nowait" from HKLM\Software\Marrowby\Quillon: REG_SZ "go"; ticks "Apply to all users"
)",
      R"(    shows "b.pdf"
    "PDFPrependFile" not used: the box shows "PDFAppendFile" instead
    "PDFAppendFile" from HKLM\Software\Marrowby\Quillon: REG_SZ "b.pdf"; ticks "Apply to all users"
)",
      R"(    "PDFAutoNameContentSearchWord" from HKLM\Software\Marrowby\Quillon: REG_SZ "Invoice"; ticks "Apply to all users"
)",
      R"(    "default user password": no copy taken, the window shows its default
      skipped, the wrong type for a text: HKCU\Software\Marrowby\Quillon: REG_DWORD, a value of the wrong type for a password; Apply leaves it
      skipped, the wrong type for a text: HKLM\Software\Marrowby\Quillon: REG_BINARY, a value of the wrong type for a password; Apply clears it
)",
      R"(      skipped, the wrong type for a text: HKCU\Software\VB and VBA Program Settings\Marrowby\Quillon: REG_MULTI_SZ, a value of the wrong type for a password; Apply leaves it
)",
      R"(    shows "C:\T"
    "QUILLONTEMP" from HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment: REG_SZ "C:\T"
      overrides the system's for this user's programs: HKCU\Environment: REG_SZ "C:\Mine"; Apply leaves it
)",
      R"(    "PDFPreview" from HKLM\Software\Marrowby\Quillon: REG_DWORD 1
)",
      R"(    "file options" not read by the window
      not read by the window: HKCU\Software\Marrowby\Quillon\SaveDialog: REG_DWORD 2048; Apply removes it while Disable "Print File" is ticked
)",
      "Windows: 32-bit, one view of HKLM\\Software\nHelper library"},
     {"12345", "bytes", "64-bit view",
      "found nowhere: the window shows its default\n    \"PDFAppendFile\""}},
    // unreadable keys: the user key, and the machine key in each view
    {Windows::Bits64,
     R"(machine:PDFWatermarkFile="all"; machine:PDFFileName="all.pdf"; legacy:PDFFileName="mine.pdf";)",
     {R"(    "PDFWatermarkFile" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ "all"; ticks "Apply to all users"
      cannot read HKCU\Software\Marrowby\Quillon (error 5); Apply clears it
)",
      R"(    "PDFFileName" from HKCU\Software\VB and VBA Program Settings\Marrowby\Quillon: REG_SZ "mine.pdf"
      cannot read HKCU\Software\Marrowby\Quillon (error 5); Apply clears it
      cannot read HKLM\Software\Marrowby\Quillon (64-bit view) (error 5), not read by the window; Apply clears it
      hidden HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ "all.pdf"; Apply clears it
)",
      R"(    "disabled options": no copy taken, the window shows its default
      cannot read HKCU\Software\Marrowby\Quillon (error 5), not read by the window; Apply clears it
      cannot read HKLM\Software\Marrowby\Quillon (64-bit view) (error 5); Apply clears it
)",
      "The window would have said: Could not open key at Software\\Marrowby\\Quillon for setting "
      "default options, open error code 5"},
     {},
     {"user", "machine64"}},
    {Windows::Bits64,
     R"(user:PDFWatermarkFile="mine";)",
     {R"(    "Default Path": no copy taken, the window shows its default
      cannot read HKLM\Software\Marrowby\Quillon (32-bit view) (error 5); Apply clears it
)",
      R"(    "PDFWatermarkFile" from HKCU\Software\Marrowby\Quillon: REG_SZ "mine"
      cannot read HKLM\Software\Marrowby\Quillon (32-bit view) (error 5); Apply clears it
)"},
     {"      hidden"},
     {"machine"}},
    // ARM64: two views, but the window reads and clears only its own
    {Windows::Arm64,
     R"(machine64:auto merge interval=500; machine:auto merge interval=700; machine:PDFFileName="a.pdf";)",
     {"Windows: 64-bit, two views of HKLM\\Software; the utility runs under WOW64\n"
      "The window neither reads nor clears the 64-bit view (PROCESSOR_ARCHITECTURE does not name "
      "AMD64)",
      R"(    "auto merge interval" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_DWORD 700
      not read by the window: HKLM\Software\Marrowby\Quillon (64-bit view): REG_DWORD 500; Apply leaves it
)",
      R"(    "PDFFileName" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ "a.pdf"; ticks "Apply to all users")"}},
    // a machine where the printer's keys do not exist yet
    {Windows::Bits64,
     "",
     {"  Default path on first use\n    shows \"\"\n    \"Default Path\" found nowhere, the window "
      "shows its default\n",
      "Windows: 64-bit, two views of HKLM\\Software; the utility runs under WOW64\n"
      "The window reads numbers from the 64-bit view first (PROCESSOR_ARCHITECTURE names AMD64)\n"
      "Helper library quillonc.dll: loads\nPrinter \"Quillon\": installed\n"
      "\"Apply to all users\": clear\n"}},
};

std::string WithCrLf(std::string_view block) {
  std::string text;
  for (const char c : block) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return text;
}

TEST(SettingsReport, RendersWhatTheLoadDecidedForEveryCopyAndShowsWhatTheWindowShows) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.seeded);
    Session session(row.windows);
    for (const std::string& entry : Split(row.seeded)) session.Seed(entry);
    for (const std::string& label : row.denied) session.Deny(label);
    const auto before = session.registry.values;
    const std::string report = SettingsReport(
        session.registry, session.library, session.printers, {".", ","}, {"PC1", "ann", true, true},
        row.windows == Windows::Bits32 ? WindowsWidth::Bits32 : WindowsWidth::Bits64);
    EXPECT_TRUE(session.registry.OnlyReadSince(before)) << "the report changed the registry";
    for (const std::string& block : row.present) {
      EXPECT_NE(report.find(WithCrLf(block)), std::string::npos) << "missing:\n"
                                                                 << block << "in:\n"
                                                                 << report;
    }
    for (const std::string& text : row.absent) {
      EXPECT_EQ(report.find(WithCrLf(text)), std::string::npos) << "unwanted: " << text;
    }
    for (const char* secret : {"Pw", "3E2C540A", "3e2c540a"}) {
      EXPECT_EQ(report.find(secret), std::string::npos) << "a password's text: " << secret;
    }
  }
}

// /users and /users /clear over the machine's users, one row a case: the
// exact lines and exit, the users' values left, and for /users nothing
// written, no key left open and no hive file left loaded.
TEST(UserCopies, ListsTheCopiesThatWinForEachUserAndClearsOnlyTheCataloguesNames) {
  const std::string kSeed =
      R"(machine:PDFWatermarkFile="all"; environment:QUILLONTEMP="C:\T"; machine:copy error retry count=7;
         ann/user:PDFWatermarkFile="mine"; ann/userenvironment:QUILLONTEMP="D:\T"; ann/user:Unrelated="keep";
         bob/legacy:default user password="3E2C540A0477105B"; bob/user:PDFFileName=""; bob/user:copy error retry count=-1;
         bob/savedialog:file options=40; bob/savedialog:dialog left=3; bob/userenvironment:Path="C:\bin"; old/userenvironment:QUILLONTEMP="";)";
  const Lines kAnn = {
      R"(PC1\ann (S-1-5-21-7-1001): 2 settings of its own)",
      R"(  Apply watermark PDF file after creation (Quillon Pro, optional): "mine", where all users get "all"; from HKU\S-1-5-21-7-1001\Software\Marrowby\Quillon ("PDFWatermarkFile"))",
      R"(  Quillon Temporary Folder: "D:\T", where all users get "C:\T"; from HKU\S-1-5-21-7-1001\Environment ("QUILLONTEMP"))"};
  const Lines kBob = {
      R"(PC1\bob (S-1-5-21-7-1002): 1 setting of its own)",
      R"(  Default user password: a password (set), where all users get no password (not set); from C:\Users\bob\NTUSER.DAT\Software\VB and VBA Program Settings\Marrowby\Quillon ("default user password"))"};
  const std::string kNone = R"(S-1-5-21-7-1003 (C:\Users\old): no copies of its own)";
  const std::string kLeftOut = "Left out, as service accounts: S-1-5-18.";
  const std::string kAnnKey = R"(HKU\S-1-5-21-7-1001\Software\Marrowby\Quillon)";
  const std::string kBobHive = R"(C:\Users\bob\NTUSER.DAT\)";
  const Lines kNothingLeft = {R"(PC1\ann (S-1-5-21-7-1001): no copies of its own)",
                              R"(PC1\bob (S-1-5-21-7-1002): no copies of its own)", kNone, kLeftOut,
                              "None of 3 profiles holds copies of its own."};
  const std::string kAnnWatermarkRemoved =
      "Removed \"PDFWatermarkFile\" from " + kAnnKey + " (PC1\\ann (S-1-5-21-7-1001)).";
  const std::string kAnnTemporaryFolderRemoved =
      R"(Removed "QUILLONTEMP" from HKU\S-1-5-21-7-1001\Environment (PC1\ann (S-1-5-21-7-1001)).)";
  const Lines kBobRemovals = {
      "Removed \"default user password\" from " + kBobHive +
          R"(Software\VB and VBA Program Settings\Marrowby\Quillon (PC1\bob (S-1-5-21-7-1002)).)",
      "Removed \"PDFFileName\" from " + kBobHive + R"(Software\Marrowby\Quillon (PC1\bob (S-1-5-21-7-1002)).)",
      "Removed \"copy error retry count\" from " + kBobHive + R"(Software\Marrowby\Quillon (PC1\bob (S-1-5-21-7-1002)).)",
      "Removed \"file options\" from " + kBobHive + R"(Software\Marrowby\Quillon\SaveDialog (PC1\bob (S-1-5-21-7-1002)).)"};
  const std::string kOldTemporaryFolderRemoved =
      R"(Removed "QUILLONTEMP" from C:\Users\old\NTUSER.DAT\Environment (S-1-5-21-7-1003 (C:\Users\old)).)";
  const Lines kAllSeeded = {
      "hku\\s-1-5-21-7-1001\\environment:QUILLONTEMP",
      "hku\\s-1-5-21-7-1001\\software\\marrowby\\quillon:PDFWatermarkFile",
      "hku\\s-1-5-21-7-1001\\software\\marrowby\\quillon:Unrelated",
      R"(C:\Users\bob\NTUSER.DAT|hkcu\environment:Path)",
      R"(C:\Users\bob\NTUSER.DAT|hkcu\software\marrowby\quillon:copy error retry count)",
      R"(C:\Users\bob\NTUSER.DAT|hkcu\software\marrowby\quillon:PDFFileName)",
      R"(C:\Users\bob\NTUSER.DAT|hkcu\software\marrowby\quillon\savedialog:dialog left)",
      R"(C:\Users\bob\NTUSER.DAT|hkcu\software\marrowby\quillon\savedialog:file options)",
      R"(C:\Users\bob\NTUSER.DAT|hkcu\software\vb and vba program settings\marrowby\quillon:default user password)",
      R"(C:\Users\old\NTUSER.DAT|hkcu\environment:QUILLONTEMP)"};
  const Lines kUnrelatedLeft = {"hku\\s-1-5-21-7-1001\\software\\marrowby\\quillon:Unrelated",
                                R"(C:\Users\bob\NTUSER.DAT|hkcu\environment:Path)",
                                R"(C:\Users\bob\NTUSER.DAT|hkcu\software\marrowby\quillon\savedialog:dialog left)"};
  struct Case {
    std::string name;
    bool clear = false;
    Lines lines;
    bool clean = false;
    // changes to the machine before the command
    std::string seed = {};         // the machine's values alone, in place of every user's
    std::string unreachable = {};  // a hive file refused with error 32
    std::string denied = {};       // a key of a hive that refuses every open
    bool administrator = true;
    int failingRemoval = 0;  // the nth removal tried (19: ann's watermark) fails with error 5
    long listError = kErrorSuccess;
    Lines left = {};  // the users' values left, where the command clears
    bool profileWithoutFolder = false;
  };
  const auto join = [](std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  const Case cases[] = {
      {"copies that win, and copies that lose (an empty text, a -1)", false,
       join({kAnn, kBob, {kNone, kLeftOut, "2 of 3 profiles hold their own copies of 3 settings."}})},
      {"no user holds a copy", false, kNothingLeft, true, R"(machine:PDFWatermarkFile="all";)"},
      {"a hive file in use", false,
       join({kAnn, kBob,
             {R"(S-1-5-21-7-1003 (C:\Users\old): cannot check: C:\Users\old\NTUSER.DAT could not be loaded (error 32).)",
              kLeftOut, "2 of 3 profiles hold their own copies of 3 settings; 1 could not be read."}}),
       false, {}, R"(C:\Users\old\NTUSER.DAT)"},
      {"a key of a signed-in user's hive that cannot be read", false,
       join({{"PC1\\ann (S-1-5-21-7-1001): cannot check: " + kAnnKey + " could not be read (error 5)."},
             kBob, {kNone, kLeftOut, "1 of 3 profiles holds its own copies of 1 setting; 1 could not be read."}}),
       false, {}, {}, "hku\\s-1-5-21-7-1001\\software\\marrowby\\quillon"},
      {"a profile without a folder, signed out", false,
       join({kAnn, kBob, {kNone,
             "S-1-5-21-7-1004: cannot check: ProfileList names no folder for it (ProfileImagePath).",
             kLeftOut, "2 of 4 profiles hold their own copies of 3 settings; 1 could not be read."}}),
       false, {}, {}, {}, true, 0, kErrorSuccess, {}, true},
      {"the profiles cannot be listed", false,
       {R"(Cannot list the profiles: HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList could not be read (error 5).)"},
       false, {}, {}, {}, true, 0, kErrorAccessDenied},
      {"clearing removes the catalogue's names in every user's places, and nothing else", true,
       join({{kAnnWatermarkRemoved, kAnnTemporaryFolderRemoved}, kBobRemovals,
             {kOldTemporaryFolderRemoved}, kNothingLeft}),
       true, {}, {}, {}, true, 0, kErrorSuccess, kUnrelatedLeft},
      {"a removal that fails leaves the others done", true,
       join({{"Could not remove \"PDFWatermarkFile\" from " + kAnnKey + " (PC1\\ann (S-1-5-21-7-1001)): error 5.",
              kAnnTemporaryFolderRemoved},
             kBobRemovals, {kOldTemporaryFolderRemoved},
             {R"(PC1\ann (S-1-5-21-7-1001): 1 setting of its own)", kAnn[1], R"(PC1\bob (S-1-5-21-7-1002): no copies of its own)", kNone, kLeftOut,
              "1 of 3 profiles holds its own copies of 1 setting."}}),
       false, {}, {}, {}, true, 19, kErrorSuccess,
       {"hku\\s-1-5-21-7-1001\\software\\marrowby\\quillon:PDFWatermarkFile", kUnrelatedLeft[0],
        kUnrelatedLeft[1], kUnrelatedLeft[2]}},
      {"clearing with a hive file in use clears the others", true,
       join({{kAnnWatermarkRemoved, kAnnTemporaryFolderRemoved}, kBobRemovals,
             {R"(S-1-5-21-7-1003 (C:\Users\old): cannot clear: C:\Users\old\NTUSER.DAT could not be loaded (error 32).)",
              kNothingLeft[0], kNothingLeft[1],
              R"(S-1-5-21-7-1003 (C:\Users\old): cannot check: C:\Users\old\NTUSER.DAT could not be loaded (error 32).)",
              kLeftOut, "None of 3 profiles holds copies of its own; 1 could not be read."}}),
       false, {}, R"(C:\Users\old\NTUSER.DAT)", {}, true, 0, kErrorSuccess,
       {kUnrelatedLeft[0], kUnrelatedLeft[1], kUnrelatedLeft[2], kAllSeeded.back()}},
      {"clearing without administrator rights", true,
       {"Nothing was removed: removing the copies in other users' profiles needs administrator "
        "rights. Run it from an elevated prompt, or as SYSTEM."},
       false, {}, {}, {}, false, 0, kErrorSuccess, kAllSeeded},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session session;
    MachineUsers users(session);
    for (const std::string& entry : Split(c.seed.empty() ? kSeed : c.seed)) users.Seed(entry);
    if (!c.unreachable.empty()) users.profiles.refusedHiveFiles[c.unreachable] = 32;
    if (!c.denied.empty()) session.registry.deniedKeys.insert(c.denied);
    if (c.failingRemoval > 0) {
      session.registry.FailCall(RegistryCall::DeleteValue, c.failingRemoval, kErrorAccessDenied);
    }
    users.profiles.administrator = c.administrator;
    if (c.profileWithoutFolder) users.profiles.Add({"S-1-5-21-7-1004", "", ""}, false);
    users.profiles.listError = c.listError;
    const auto machineBefore = session.registry.values;
    const auto filesBefore = users.HiveFileValues();
    const UsersOutcome outcome =
        c.clear ? ClearUserCopies(session.registry, users.profiles, session.library, {".", ","},
                                  WindowsWidth::Bits64)
                : ListUserCopies(session.registry, users.profiles, session.library, {".", ","},
                                 WindowsWidth::Bits64);
    EXPECT_EQ(outcome.lines, c.lines);
    EXPECT_EQ(outcome.clean, c.clean);
    if (c.clear) {
      EXPECT_EQ(users.UserValues(), c.left);
      EXPECT_TRUE(users.NothingLeftOpen()) << "a key or a hive file left open";
    } else {
      EXPECT_TRUE(users.OnlyRead(machineBefore, filesBefore)) << "/users changed the registry";
    }
  }
}

}  // namespace
}  // namespace quillon
