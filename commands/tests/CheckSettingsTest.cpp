// The check on seeded registries against the reference machine's export.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/CheckSettings.h"
#include "commands/ExportSettings.h"
#include "crypto/substitute/SubstituteHelperLibrary.h"
#include "model/substitute/SubstitutePlatform.h"
#include "settings/RegFileReader.h"
#include "settings/substitute/OneByteCodePage.h"
#include "settings/substitute/SubstituteRegistry.h"
#include "commands/tests/MachineUsers.h"

namespace quillon {
namespace {

// The reference machine's export checked on machines that differ from it in
// one setting of each kind: exactly that setting is named, with where the
// window takes it from now; nothing in the registry changes.
TEST(CheckSettings, NamesEachSettingTheFileWouldChangeAndNothingElse) {
  using enum CheckOutcome::Verdict;
  const std::string reference =
      R"(machine:Default Path="C:\PDF"; machine:copy error retry count=7; machine:disabled options=3;
         machine:default user password="3E2C540A0477105B"; machine:PDFDefaultFileName="C:\PDF\o.pdf";
         environment:QUILLONTEMP="C:\T"; machine:PDFWatermarkFile="all.pdf";)";
  const std::string kMachine = "HKLM\\Software\\Marrowby\\Quillon (32-bit view)";
  struct Case {
    std::string changes;  // to the reference machine, before the check
    CheckOutcome::Verdict verdict;
    Lines lines;
    Windows exportedOn = Windows::Bits64, checkedOn = Windows::Bits64;
    Lines denied = {};
    const char* file = nullptr;  // a file written by hand, in place of the export
    bool everyUser = false;      // "/allusers", on the machine's users
    std::string unreachable = {};  // a user's hive file refused with error 32
  };
  const std::string kAnn = R"(PC1\ann (S-1-5-21-7-1001): )", kBob = R"(PC1\bob (S-1-5-21-7-1002): )";
  const std::string kWatermark = "Apply watermark PDF file after creation (Quillon Pro, optional): ";
  const std::string kRetries =
      "Copy Error Retry Count: shows \"9\", the file \"7\"; now from " + kMachine +
      " (\"copy error retry count\")";
  const std::string kLeftOut = "Left out, as service accounts: S-1-5-18.";
  const Case cases[] = {
      {"", Same, {"This machine shows every setting as the file would make it show."}},
      {R"(machine:Default Path="D:\x";)", Differs,
       {R"(Default path on first use: shows "D:\x", the file "C:\PDF"; now from )" + kMachine +
            R"( ("Default Path"))",
        "1 setting differs from what the file would make it show."}},
      {"machine64:copy error retry count=9;", Differs,
       {R"(Copy Error Retry Count: shows "9", the file "7"; now from HKLM\Software\Marrowby\Quillon (64-bit view) ("copy error retry count"))"}},
      {"machine:disabled options=1;", Differs,
       {"\"disabled options\" (a bit set): Disable \"View File\" clear, the file ticked; now from " +
        kMachine + " (\"disabled options\")"}},
      {R"(machine:default user password="702F8D9283B1E372";)", Differs,
       {"Default user password: a different password; now from " + kMachine +
        R"( ("default user password"))"}},
      {R"(machine:PDFFileName="C:\PDF\o.pdf";)", Differs,
       {R"(PDF file name (include full path): shows "C:\PDF\o.pdf" under "PDFFileName", the file "C:\PDF\o.pdf" under "PDFDefaultFileName"; now from )" +
        kMachine + R"( ("PDFFileName"))"}},
      {R"(environment:QUILLONTEMP="D:\T";)", Differs,
       {R"(Quillon Temporary Folder: shows "D:\T", the file "C:\T"; now from HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment ("QUILLONTEMP"))"}},
      // a stale per-user copy wins now; the file removes it
      {R"(legacy:PDFWatermarkFile="old.pdf";)", Differs,
       {R"(Apply watermark PDF file after creation (Quillon Pro, optional): shows "old.pdf", the file "all.pdf"; now from HKCU\Software\VB and VBA Program Settings\Marrowby\Quillon ("PDFWatermarkFile"))"}},
      // a key removed whole takes the keys below it along
      {R"(user:PDFWatermarkFile="mine";)", Differs,
       {R"(Apply watermark PDF file after creation (Quillon Pro, optional): shows "mine", the file "all.pdf"; now from HKCU\Software\Marrowby\Quillon ("PDFWatermarkFile"))"},
       Windows::Bits64, Windows::Bits64, {}, "REGEDIT4\r\n[-HKEY_CURRENT_USER\\Software\\Marrowby]\r\n"},
      {"", CannotCheck, {"Cannot check: HKCU\\Software\\Marrowby\\Quillon could not be read (error 5)."},
       Windows::Bits64, Windows::Bits64, {"user"}},
      // a file of the other width is said to be one; made on 32-bit Windows,
      // its numbers land where this machine's window reads them first
      {"", Same, {"The file was made on 32-bit Windows: imported here, its machine values land "
                  "in the 64-bit view, which the utility reads for numbers only."},
       Windows::Bits32},
      // made on 64-bit Windows, it would clear this machine's key and write
      // nothing the window reads
      {"", Differs, {"The file was made on 64-bit Windows: its machine values are under WOW6432Node, "
                     "which 32-bit Windows does not have, so imported here it writes none the "
                     "utility reads.",
                     "Default path on first use: shows \"C:\\PDF\", the file \"\";",
                     "6 settings differ from what the file would make it show (38 values "
                     "elsewhere were ignored)."},
       Windows::Bits64, Windows::Bits32},
      // values outside the printer's keys are left alone, and counted
      {"", Same, {"This machine shows every setting as the file would make it show (1 value "
                  "elsewhere was ignored)."},
       Windows::Bits64, Windows::Bits64, {}, "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"x\"=\"y\"\r\n"},
      // every user: a stale copy in a signed-in user's hive, which the
      // file's own user part removes for the account that imports it, and
      // one in a hive file, which no import reaches
      {R"(ann/user:PDFWatermarkFile="mine"; bob/legacy:PDFWatermarkFile="old.pdf";
          bob/userenvironment:QUILLONTEMP="D:\T"; ann/userenvironment:QUILLONTEMP="C:\T";)", Differs,
       {kAnn + kWatermark + R"(shows "mine", the file "all.pdf"; now from HKU\S-1-5-21-7-1001\Software\Marrowby\Quillon ("PDFWatermarkFile"))",
        kBob + kWatermark + R"(shows "old.pdf", the file "all.pdf"; now from C:\Users\bob\NTUSER.DAT\Software\VB and VBA Program Settings\Marrowby\Quillon ("PDFWatermarkFile"); importing the file does not change that for this user)",
        kBob + R"(Quillon Temporary Folder: the user's own "D:\T", the file "C:\T"; from C:\Users\bob\NTUSER.DAT\Environment ("QUILLONTEMP"); importing the file does not change that for this user)",
        kLeftOut, "3 differences in 2 of 3 profiles from what the file would make them show."},
       Windows::Bits64, Windows::Bits64, {}, nullptr, true},
      {"", Same, {kLeftOut,
                  "Every profile shows every setting as the file would make it show (3 profiles)."},
       Windows::Bits64, Windows::Bits64, {}, nullptr, true},
      // the file not yet imported: every user differs
      {"machine:copy error retry count=9;", Differs,
       {kAnn + kRetries, kBob + kRetries, R"(S-1-5-21-7-1003 (C:\Users\old): )" + kRetries, kLeftOut,
        "3 differences in 3 of 3 profiles from what the file would make them show."},
       Windows::Bits64, Windows::Bits64, {}, nullptr, true},
      {"", CannotCheck, {R"(S-1-5-21-7-1003 (C:\Users\old): cannot check: C:\Users\old\NTUSER.DAT could not be loaded (error 32).)",
                         kLeftOut, "0 differences in 0 of 3 profiles from what the file would make them show; 1 could not be read."},
       Windows::Bits64, Windows::Bits64, {}, nullptr, true, R"(C:\Users\old\NTUSER.DAT)"},
  };
  const auto width = [](Windows windows) {
    return windows == Windows::Bits32 ? WindowsWidth::Bits32 : WindowsWidth::Bits64;
  };
  for (const Case& c : cases) {
    Session source(c.exportedOn);
    for (const std::string& entry : Split(reference)) source.Seed(entry);
    const ExportedSettings exported =
        ExportSettings(source.registry, source.library, {".", ","}, {"PC1", "ann"},
                       width(c.exportedOn), OneByteToUtf16, false);
    const RegFileRead file =
        ReadRegFile(c.file ? c.file : exported.file, Utf16ToOneByte, OneByteToUtf16);
    ASSERT_EQ(file.error, "") << exported.refusal;

    Session target(c.checkedOn);
    MachineUsers users(target);
    for (const std::string& entry : Split(reference + c.changes)) users.Seed(entry);
    for (const std::string& label : c.denied) target.Deny(label);
    if (!c.unreachable.empty()) users.profiles.refusedHiveFiles[c.unreachable] = 32;
    const auto before = target.registry.values;
    const auto filesBefore = users.HiveFileValues();
    const CheckOutcome outcome =
        c.everyUser ? CheckSettingsForEveryUser(target.registry, users.profiles, target.library,
                                                {".", ","}, file.operations, width(c.checkedOn))
                    : CheckSettings(target.registry, target.library, {".", ","}, file.operations,
                                    width(c.checkedOn));
    EXPECT_TRUE(users.OnlyRead(before, filesBefore)) << "the check changed the registry";
    EXPECT_EQ(outcome.verdict, c.verdict) << c.changes;
    if (c.everyUser) {
      EXPECT_EQ(outcome.lines, c.lines);
      continue;
    }
    for (const std::string& line : c.lines) {
      EXPECT_TRUE(std::ranges::any_of(outcome.lines,
                                      [&](const std::string& got) { return got.starts_with(line); }))
          << "missing: " << line << "\nin:\n" << ::testing::PrintToString(outcome.lines);
    }
    if (c.verdict == Differs && c.exportedOn == c.checkedOn && !c.everyUser) {
      EXPECT_EQ(outcome.lines.size(), 2u) << "one setting named, and the count";
    }
  }
}

}  // namespace
}  // namespace quillon
