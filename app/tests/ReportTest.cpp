// The report on seeded registries, one a row, with copies in every location
// and both views: each setting's source and hidden copies as the load decides
// them, its shown value what the window's load shows, and no password in it.
#include <gtest/gtest.h>

#include "app/SettingsReport.h"
#include "app/tests/SubstitutePlatform.h"

namespace quillon {
namespace {

struct Row {
  Windows windows;
  const char* seeded;
  Lines blocks;  // each found in the report as it stands, lines and all
  const Location* denied = nullptr;  // a key no open may read
};

// The stored form of "Pw" on the own path is 3E2C540A0477105B.
const Row kRows[] = {
    {Windows::Bits64,
     R"(machine64:copy error retry count=64; machine:copy error retry count=32;
       user:copy error retry count="9"; legacy:PDFWatermarkFile="mine"; user:PDFWatermarkFile="ours";
       machine:PDFWatermarkFile="all"; machine64:PDFWatermarkFile="w64"; machine64:disabled options=1;
       machine:default master password="3E2C540A0477105B"; user:default master password="ABC";
       user:Post Action Nowait="run"; machine:Post Action="late"; machine:Default Post Action="x";)",
     {R"(    shows "64"
    "copy error retry count" from HKLM\Software\Marrowby\Quillon (64-bit view): REG_DWORD 64
      hidden HKCU\Software\Marrowby\Quillon: REG_SZ "9": the wrong type for a number, read as absent
      hidden HKLM\Software\Marrowby\Quillon (32-bit view): REG_DWORD 32
)",
      R"(    "PDFWatermarkFile" from HKCU\Software\VB and VBA Program Settings\Marrowby\Quillon: REG_SZ "mine"
      hidden HKCU\Software\Marrowby\Quillon: REG_SZ "ours"
      hidden HKLM\Software\Marrowby\Quillon (64-bit view): REG_SZ "w64"
      hidden HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ "all"
)",
      R"(    shows [x] Disable "Send File"; [x] Allow user password  to be changed;)",
      R"(    shows "late"
    "Post Action" from HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ "late"; ticks "Apply to all users"
    "Post Action Nowait" not read: the window took its value from a name above
      hidden HKCU\Software\Marrowby\Quillon: REG_SZ "run"
)",
      R"("default master password" from HKCU\Software\Marrowby\Quillon: REG_SZ, a stored password
      hidden HKLM\Software\Marrowby\Quillon (32-bit view): REG_SZ, a stored password
)",
      "shows a password that cannot be decoded", R"("Apply to all users": ticked)"}},
    // one view on 32-bit Windows
    {Windows::Bits32,
     R"(machine:PDFFileName="all.pdf"; user:PDFDefaultFileName="me.pdf"; machine64:PDFPreview=1;
       machine:default user password="3E2C540A0477105B"; savedialog:file options=2048;)",
     {R"(    "PDFFileName" from HKLM\Software\Marrowby\Quillon: REG_SZ "all.pdf"; ticks "Apply to all users"
    "PDFDefaultFileName" not read: the window took its value from a name above
      hidden HKCU\Software\Marrowby\Quillon: REG_SZ "me.pdf"
)",
      "  Default user password\n    shows a password (set)\n",
      R"(    "PDFPreview" from HKLM\Software\Marrowby\Quillon: REG_DWORD 1
)",
      R"("file options" not read by the window
      unused HKCU\Software\Marrowby\Quillon\SaveDialog: REG_DWORD 2048
)"}},
    // a key that cannot be read is named wherever a setting could live in it
    {Windows::Bits32,
     R"(machine:PDFFileName="all.pdf";)",
     {R"(    "PDFFileName" from HKLM\Software\Marrowby\Quillon: REG_SZ "all.pdf"; ticks "Apply to all users"
      cannot read HKCU\Software\VB and VBA Program Settings\Marrowby\Quillon (error 5)
)"},
     &kLegacyUserKey},
    // a machine where the printer's keys do not exist yet
    {Windows::Bits64, "", {"  Default path on first use\n    shows \"\"\n    \"Default Path\" found nowhere"}},
};

TEST(SettingsReport, NamesTheLoadsSourceAndEveryHiddenCopyAndShowsWhatTheWindowShows) {
  for (const Row& row : kRows) {
    Session session(row.windows);
    for (const std::string& entry : Split(row.seeded)) session.Seed(entry);
    if (row.denied) {
      session.registry.deniedKeys.insert(
          session.registry.PhysicalKey(row.denied->root, row.denied->path, RegistryView::Default));
    }
    const auto before = session.registry.values;
    std::string report = SettingsReport(session.registry, session.library, session.printers,
                                        {".", ","}, {"PC1", "ann", true, true});
    EXPECT_EQ(session.registry.values, before) << "the report changed the registry";
    EXPECT_EQ(std::erase(report, '\r'), std::ranges::count(report, '\n')) << "not CRLF lines";
    for (const std::string& block : row.blocks) {
      EXPECT_NE(report.find(block), std::string::npos) << "missing:\n" << block << "in:\n" << report;
    }
    EXPECT_EQ(report.find("Pw"), std::string::npos) << "a password in plain text";
    EXPECT_EQ(report.find("3E2C540A"), std::string::npos) << "a stored password's text";
    // What the window's own load shows, control by control.
    session.Open();
    ForEachSetting(
        LoadOrder(), [](const Setting& setting) { return setting.read; },
        [&](std::span<const Setting* const> names) {
          const Setting& first = *names.front();
          if (!first.control || first.read == ReadRule::Password) return;
          const auto value = static_cast<std::size_t>(session.controls.Value(*first.control));
          const std::string shown = DefinitionOf(*first.control).kind == ControlKind::kCheckBox
                                        ? Lines{"clear", "ticked", "greyed"}.at(value)
                                        : '"' + session.controls.Text(*first.control) + '"';
          EXPECT_NE(report.find("    shows " + shown + "\n    \"" + std::string(first.name)),
                    std::string::npos)
              << first.name << " shows " << shown << " in the window";
        });
  }
}

}  // namespace
}  // namespace quillon
