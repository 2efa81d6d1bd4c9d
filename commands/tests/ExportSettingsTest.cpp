// The export: the registry file it writes from what the load finds, which
// must leave the registry untouched.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

    EXPECT_TRUE(registry.OnlyReadSince(before)) << "the export changed the registry";
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

}  // namespace
}  // namespace quillon
