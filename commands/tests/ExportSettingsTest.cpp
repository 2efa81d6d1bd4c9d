// The export: its command line, and the registry file it writes from what
// the load finds, which must leave the registry untouched.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/CheckSettings.h"
#include "commands/CommandLine.h"
#include "commands/ExportSettings.h"
#include "model/substitute/SubstitutePlatform.h"
#include "crypto/substitute/SubstituteHelperLibrary.h"
#include "settings/RecordingRegistry.h"
#include "settings/RegFileReader.h"
#include "settings/substitute/OneByteCodePage.h"
#include "settings/SettingLocations.h"
#include "settings/substitute/SubstituteRegistry.h"

namespace quillon {
namespace {

using enum CommandLine::Action;

TEST(CommandLine, ReadsExportReportCheckAndHelpAndRefusesEverythingElse) {
  struct Case {
    std::string_view line;
    CommandLine::Action action;
    std::string_view fileOrMistake;  // the file (Export, Report, Check), or the mistake's start
    bool defaults = false;
  };
  const Case cases[] = {
      {"", Window, ""},
      {" \t", Window, ""},
      {"/export C:\\out.reg", Export, "C:\\out.reg"},
      {"-EXPORT \"C:\\My Settings\\all.reg\" ", Export, "C:\\My Settings\\all.reg"},
      {"/export a.reg /defaults", Export, "a.reg", true},
      {"-Export \"C:\\x y.reg\" -DEFAULTS", Export, "C:\\x y.reg", true},
      {"/export \"/defaults\"", Mistake, "No file name after /export."},
      {"/export /defaults a.reg", Mistake, "No file name after /export."},
      {"/export a.reg /defaults b.reg", Mistake, "Unexpected argument \"b.reg\""},
      {"/export a.reg /report", Mistake, "Unexpected argument \"/report\""},
      {"/report", Report, ""},
      {"/report \"\"", Mistake, "No file name after /report."},
      {"-REPORT f", Report, "f"},
      {"/report \"C:\\Temp Files\\r.txt\"", Report, "C:\\Temp Files\\r.txt"},
      {"/report r.txt /defaults", Mistake, "Unexpected argument \"/defaults\" after the file"},
      {"/report /defaults", Mistake, "Unexpected argument \"/defaults\". Use /?"},
      {"/report a.txt b.txt", Mistake, "Unexpected argument \"b.txt\""},
      {"-Check \"C:\\Deploy\\q.reg\"", Check, "C:\\Deploy\\q.reg"},
      {"/check", Mistake, "No file name after /check."},
      {"/check q.reg /defaults", Mistake, "Unexpected argument \"/defaults\" after the file"},
      {"/?", Help, ""},
      {"/export", Mistake, "No file name after /export."},
      {"/export \"\"", Mistake, "No file name after /export."},
      {"/export a.reg b.reg", Mistake, "Unexpected argument \"b.reg\""},
      {"/? /export a.reg", Mistake, "Unknown argument \"/?\""},
      {"/import a.reg", Mistake, "Unknown argument \"/import\""},
      {"/defaults", Mistake, "Unknown argument \"/defaults\""},
      {"settings.reg", Mistake, "Unknown argument \"settings.reg\""},
  };
  for (const Case& c : cases) {
    const CommandLine command = ParseCommandLine(c.line);
    EXPECT_EQ(command.action, c.action) << c.line;
    if (c.action == Mistake) {
      EXPECT_TRUE(command.mistake.starts_with(c.fileOrMistake))
          << c.line << ": " << command.mistake;
    } else {
      EXPECT_EQ(command.file, c.fileOrMistake) << c.line;
      EXPECT_EQ(command.defaults, c.defaults) << c.line;
    }
  }
}

// The file as text, after checking it is UTF-16LE with its byte-order mark
// and holds nothing beyond Latin-1.
std::string Narrow(const std::string& bytes) {
  EXPECT_TRUE(bytes.starts_with("\xFF\xFE")) << "no UTF-16LE byte-order mark";
  std::string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    EXPECT_EQ(bytes[i + 1], '\0');
    text += bytes[i];
  }
  return text;
}

TEST(ExportSettings, WritesWhatApplyWouldForEitherWidthRefusesUnreadableKeysAndChangesNothing) {
  using enum SubstituteRegistry::Windows;
  struct Case {
    SubstituteRegistry::Windows windows = Bits64;
    std::string architecture = "AMD64";         // what the window's load and Apply go by
    WindowsWidth width = WindowsWidth::Bits64;  // what the exporting process finds
    std::optional<Location> denied{};           // in the default view
    long firstQuery = kErrorSuccess;            // what the registry answers to it
    bool seeded = true;           // false: none of the printer's settings anywhere
    bool defaultsWanted = false;  // "/defaults"
    std::string_view opening{};  // the refusal's start, or else the file's first section
    std::vector<std::string_view> present{};
    std::vector<std::string_view> absent{};
  };
  const std::string_view kRedirectedMachineKey =
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Marrowby\\Quillon]";
  const std::string_view kPlainMachineKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marrowby\\Quillon]";
  const std::string_view kUnreadableMachineKey =
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Marrowby\\Quillon (32-bit view) could not be "
      "read (error 5)";
  const Case cases[] = {
      // the 64-bit view loses its copies before the program's view is written
      {.opening = kPlainMachineKey,
       .present = {kRedirectedMachineKey, "Quillon]\r\n\"Default Path\"=-",
                   "reg import FILE /reg:64"}},
      {.windows = Bits32,
       .architecture = "x86",
       .width = WindowsWidth::Bits32,
       .opening = kPlainMachineKey,
       .present = {"with \"reg import FILE\"."},
       .absent = {"WOW6432Node", "/reg:64"}},
      // an x86 process on ARM64 Windows: the load and Apply know no 64-bit view
      {.architecture = "ARM64", .opening = kRedirectedMachineKey, .absent = {kPlainMachineKey}},
      {.denied = kMachineProductKey, .opening = kUnreadableMachineKey},
      {.denied = kUserProductKey,
       .opening = "HKEY_CURRENT_USER\\Software\\Marrowby\\Quillon could not be read (error 5)"},
      {.firstQuery = kErrorAccessDenied, .opening = kUnreadableMachineKey},  // a value of it
      {.denied = kLegacyUserKey,
       .opening = "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Marrowby\\Quillon "
                  "could not be read"},
      // nothing to carry: the file would only reset the targets
      {.seeded = false,
       .opening = "the utility found none of the printer's settings on this computer, so the file "
                  "would reset every setting on every machine that imports it."},
      {.seeded = false,
       .defaultsWanted = true,
       .opening = kPlainMachineKey,
       .present = {"\"disabled options\"=dword:00000000\r\n"}},
      // a key it cannot read is the reason, not that nothing was found
      {.denied = kMachineProductKey, .seeded = false, .opening = kUnreadableMachineKey},
      {.defaultsWanted = true, .opening = kPlainMachineKey},
  };
  for (const Case& c : cases) {
    SubstituteRegistry registry(c.windows);
    const auto seed = [&](RootKey root, const std::string& name, std::uint32_t type,
                          std::span<const std::uint8_t> data) {
      registry.PutValue(root, kProductKeyPath, RegistryView::Default, name, type, data);
    };
    registry.PutValue(kEnvironmentKey.root, kEnvironmentKey.path, RegistryView::Default,
                      kProcessorArchitectureValue, kRegSz, TextBytes(c.architecture));
    if (c.seeded) {
      seed(RootKey::CurrentUser, "PDFAutoNameContentSearchWord", kRegSz, TextBytes("Report"));
      seed(RootKey::LocalMachine, "disabled options", kRegDword, DwordBytes(1));
      // A stored password the load cannot decode (too short for the own path,
      // no library for the other): the load says so, and Apply leaves it.
      seed(RootKey::LocalMachine, "default user password", kRegExpandSz, TextBytes("ABC"));
    }
    if (c.denied) {
      registry.deniedKeys.insert(
          registry.PhysicalKey(c.denied->root, c.denied->path, RegistryView::Default));
    }
    registry.FailCall(RegistryCall::QueryValue, 1, c.firstQuery);
    const auto before = registry.values;
    SubstituteHelperLibrary helperLibrary;
    helperLibrary.status = HelperStatus::LibraryMissing;

    const ExportedSettings exported = ExportSettings(
        registry, helperLibrary, {.decimal = ".", .group = ","}, {"PC1", "ann"}, c.width, OneByteToUtf16,
        c.defaultsWanted);

    EXPECT_EQ(registry.values, before);
    for (const RegistryCall call :
         {RegistryCall::CreateKey, RegistryCall::SetValue, RegistryCall::DeleteValue}) {
      EXPECT_EQ(registry.CallCount(call), 0) << "the export reached the registry with a change";
    }
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
    if (c.denied || c.firstQuery != kErrorSuccess || (!c.seeded && !c.defaultsWanted)) {
      EXPECT_TRUE(exported.refusal.starts_with(c.opening)) << exported.refusal;
      EXPECT_EQ(exported.file, "");
      continue;
    }
    ASSERT_EQ(exported.refusal, "");
    const std::string file = Narrow(exported.file);
    EXPECT_TRUE(file.starts_with("Windows Registry Editor Version 5.00\r\n\r\n; Made by "));
    EXPECT_TRUE(file.substr(file.find("\r\n[") + 2).starts_with(c.opening)) << "first section";
    if (c.seeded) {
      for (const std::string_view text :
           {std::string_view("; While reading the settings, the utility reported: "),
            std::string_view("\"disabled options\"=dword:00000001\r\n"),
            // folded before the 76th column, as the registry editor folds
            std::string_view("\"PDFAutoNameContentSearchWord\"=hex(2):52,00,65,00,70,00,6f,00,72,"
                             "00,74,00,\\\r\n  00,00\r\n")}) {
        EXPECT_NE(file.find(text), std::string::npos) << "missing: " << text;
      }
      EXPECT_EQ(file.find("\"default user password\"="), std::string::npos)
          << "a password the load could not show was replaced";
    }
    for (const std::string_view text :
         {std::string_view("of computer PC1 as user ann"),
          std::string_view("[HKEY_CURRENT_USER\\Software\\Marrowby\\Quillon]"),
          std::string_view("\"PDFTitle\"=-\r\n"),
          std::string_view(
              "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Marrowby\\Quillon]"),
          std::string_view("\"QUILLONTEMP\"=-\r\n")}) {
      EXPECT_NE(file.find(text), std::string::npos) << "missing: " << text;
    }
    for (const std::string_view text : c.present) {
      EXPECT_NE(file.find(text), std::string::npos) << "missing: " << text;
    }
    for (const std::string_view text : c.absent) {
      EXPECT_EQ(file.find(text), std::string::npos) << "unexpected: " << text;
    }
  }
}

// What the export's file cannot show of the registry it records on: a recorded
// value read back into a buffer of exactly its size, removals telling whether
// the value was there, and a handle it never gave out.
TEST(ExportSettings, RecordingRegistryAnswersAsTheRegistryWould) {
  SubstituteRegistry underneath;
  underneath.PutValue(RootKey::CurrentUser, kProductKeyPath, RegistryView::Default, "Held",
                      kRegDword, DwordBytes(7));
  RecordingRegistry recorder(underneath);
  KeyHandle key{};
  ASSERT_EQ(recorder.OpenKey(RootKey::CurrentUser, kProductKeyPath, KeyAccess::Write,
                             RegistryView::Default, key),
            kErrorSuccess);
  ASSERT_EQ(recorder.SetValue(key, "Set", kRegDword, DwordBytes(9)), kErrorSuccess);
  std::array<std::uint8_t, kDwordSize> bytes{};
  std::uint32_t type = kRegNone;
  std::uint32_t size = kDwordSize;
  const struct {
    const char* call;
    long code, expected;
  } cases[] = {
      {"read back", recorder.QueryValue(key, "Set", type, bytes.data(), size), kErrorSuccess},
      {"remove one held underneath", recorder.DeleteValue(key, "Held"), kErrorSuccess},
      {"remove one held nowhere", recorder.DeleteValue(key, "Never"), kErrorFileNotFound},
      {"remove through a stranger", recorder.DeleteValue(KeyHandle{99}, "Held"),
       kErrorInvalidHandle},
      {"close", recorder.CloseKey(key), kErrorSuccess},
      {"close again", recorder.CloseKey(key), kErrorInvalidHandle},
  };
  for (const auto& c : cases) EXPECT_EQ(c.code, c.expected) << c.call;
  EXPECT_EQ(DwordNumber(bytes), 9);
}

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
  };
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
    for (const std::string& entry : Split(reference + c.changes)) target.Seed(entry);
    for (const std::string& label : c.denied) {
      const CopyPlace& place = PlaceLabelled(label);
      target.registry.deniedKeys.insert(
          target.registry.PhysicalKey(place.location.root, place.location.path, place.view));
    }
    const auto before = target.registry.values;
    const CheckOutcome outcome = CheckSettings(target.registry, target.library, {".", ","},
                                               file.operations, width(c.checkedOn));
    EXPECT_EQ(target.registry.values, before);
    EXPECT_EQ(target.registry.CallCount(RegistryCall::CreateKey) +
                  target.registry.CallCount(RegistryCall::SetValue) +
                  target.registry.CallCount(RegistryCall::DeleteValue),
              0);
    EXPECT_EQ(target.registry.OpenHandleCount(), 0u);
    EXPECT_EQ(outcome.verdict, c.verdict) << c.changes;
    for (const std::string& line : c.lines) {
      EXPECT_TRUE(std::ranges::any_of(outcome.lines,
                                      [&](const std::string& got) { return got.starts_with(line); }))
          << "missing: " << line << "\nin:\n" << ::testing::PrintToString(outcome.lines);
    }
    if (c.verdict == Differs && c.exportedOn == c.checkedOn) {
      EXPECT_EQ(outcome.lines.size(), 2u) << "one setting named, and the count";
    }
  }
}

}  // namespace
}  // namespace quillon
