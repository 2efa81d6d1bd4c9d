// The export: its command line, and the registry file it writes from what
// the load finds, which must leave the registry untouched.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/ExportSettings.h"
#include "crypto/substitute/SubstituteHelperLibrary.h"
#include "settings/SettingLocations.h"
#include "settings/substitute/SubstituteRegistry.h"

namespace quillon {
namespace {

using enum CommandLine::Action;

TEST(CommandLine, ReadsExportAndHelpAndRefusesEverythingElse) {
  struct Case {
    std::string_view line;
    CommandLine::Action action;
    std::string_view fileOrMistake;  // the file (empty unless Export), or the mistake's start
  };
  const Case cases[] = {
      {"", Window, ""},
      {" \t", Window, ""},
      {"/export C:\\out.reg", Export, "C:\\out.reg"},
      {"-EXPORT \"C:\\My Settings\\all.reg\" ", Export, "C:\\My Settings\\all.reg"},
      {"/?", Help, ""},
      {"/export", Mistake, "No file name after /export."},
      {"/export \"\"", Mistake, "No file name after /export."},
      {"/export a.reg b.reg", Mistake, "Unexpected argument \"b.reg\""},
      {"/? /export a.reg", Mistake, "Unknown argument \"/?\""},
      {"/import a.reg", Mistake, "Unknown argument \"/import\""},
      {"settings.reg", Mistake, "Unknown argument \"settings.reg\""},
  };
  for (const Case& c : cases) {
    const CommandLine command = ParseCommandLine(c.line);
    EXPECT_EQ(command.action, c.action) << c.line;
    if (c.action == Mistake) {
      EXPECT_TRUE(command.mistake.starts_with(c.fileOrMistake)) << c.line << ": "
                                                                 << command.mistake;
    } else {
      EXPECT_EQ(command.file, c.fileOrMistake) << c.line;
    }
  }
}

// The test's code page is Latin-1, so every byte is its own character.
std::u16string Widen(std::string_view ansi) {
  std::u16string wide;
  for (const char c : ansi) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
  return wide;
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

TEST(ExportSettings, WritesWhatApplyWouldForEitherWidthAndChangesNothing) {
  struct Case {
    SubstituteRegistry::Windows windows;
    std::vector<std::string_view> present;
    std::vector<std::string_view> absent;
  };
  const std::string_view kMachineKey32 =
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Marrowby\\Quillon]";
  const Case cases[] = {
      // the 64-bit view only loses its copies
      {SubstituteRegistry::Windows::Bits64,
       {kMachineKey32, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marrowby\\Quillon]\r\n\"Default Path\"=-"},
       {}},
      {SubstituteRegistry::Windows::Bits32,
       {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marrowby\\Quillon]"},
       {"WOW6432Node"}},
  };
  for (const Case& c : cases) {
    SubstituteRegistry registry(c.windows);
    const auto seed = [&](RootKey root, const std::string& name, std::uint32_t type,
                          std::span<const std::uint8_t> data) {
      registry.PutValue(root, kProductKeyPath, RegistryView::Default, name, type, data);
    };
    seed(RootKey::CurrentUser, "PDFAutoNameContentSearchWord", kRegSz, TextBytes("Report"));
    seed(RootKey::LocalMachine, "disabled options", kRegDword, DwordBytes(1));
    // A stored password the load cannot decode (too short for the own path,
    // no library for the other): the load says so, and Apply leaves it.
    seed(RootKey::LocalMachine, "default user password", kRegExpandSz, TextBytes("ABC"));
    const auto before = registry.values;
    SubstituteHelperLibrary helperLibrary;
    helperLibrary.status = HelperStatus::LibraryMissing;

    const ExportedSettings exported = ExportSettings(
        registry, helperLibrary, {.decimal = ".", .group = ","}, {"PC1", "ann"}, Widen);

    EXPECT_EQ(registry.values, before);
    for (const RegistryCall call :
         {RegistryCall::CreateKey, RegistryCall::SetValue, RegistryCall::DeleteValue}) {
      EXPECT_EQ(registry.CallCount(call), 0) << "the export reached the registry with a change";
    }
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
    ASSERT_EQ(exported.refusal, "");
    const std::string file = Narrow(exported.file);
    EXPECT_TRUE(file.starts_with("Windows Registry Editor Version 5.00\r\n\r\n; Made by "));
    for (const std::string_view text :
         {std::string_view("of computer PC1 as user ann"),
          std::string_view("; While reading the settings, the utility reported: "),
          std::string_view("\"disabled options\"=dword:00000001\r\n"),
          std::string_view("[HKEY_CURRENT_USER\\Software\\Marrowby\\Quillon]"),
          // folded before the 76th column, as the registry editor folds
          std::string_view("\"PDFAutoNameContentSearchWord\"=hex(2):52,00,65,00,70,00,6f,00,72,00,"
                           "74,00,\\\r\n  00,00\r\n"),
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
    EXPECT_EQ(file.find("\"default user password\"="), std::string::npos)
        << "a password the load could not show was replaced";
  }
}

}  // namespace
}  // namespace quillon
