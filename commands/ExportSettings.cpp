// The export: load and Apply on the in-memory window, the registry recording.
#include "commands/ExportSettings.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "model/AdminUtilityMain.h"
#include "model/ControlTable.h"
#include "commands/HeadlessPorts.h"

namespace quillon {
namespace {

// How to import the file so that it reaches both views where it was made; a
// 32-bit importer sends both to the 32-bit view, which the file's order keeps
// whole, but cannot reach the 64-bit view's stale copies.
std::vector<std::string> ImportAdvice(WindowsWidth width) {
  if (width == WindowsWidth::Bits32) {
    return {"Made on 32-bit Windows: import it there with \"reg import FILE\"."};
  }
  return {"Made on 64-bit Windows: import it there with \"reg import FILE /reg:64\" (or the",
          "64-bit reg.exe). A 32-bit importer writes every value to the view the utility",
          "reads, but cannot remove the stale copies in the 64-bit view, which would win."};
}

std::vector<std::string> Header(const ExportOrigin& origin, WindowsWidth width,
                                const std::vector<std::string>& loadMessages) {
  std::vector<std::string> lines = {
      "Made by " + std::string(kMainWindow.title) +
          " (quillon-admin.exe /export) from the settings",
      "of computer " + origin.computer + " as user " + origin.user +
          ": importing it writes and removes",
      "exactly what the utility's Apply button would there.",
      "The HKEY_CURRENT_USER part holds " + origin.user + "'s own settings and applies to",
      "whoever imports the file.",
      "The default PDF passwords below are encrypted under a fixed key that every copy",
      "of the utility carries: anyone who can read this file can recover them. Keep it",
      "where only administrators can read it."};
  std::ranges::copy(ImportAdvice(width), std::back_inserter(lines));
  for (const std::string& message : loadMessages) {
    lines.push_back("While reading the settings, the utility reported: " + OneLine(message));
  }
  return lines;
}

// "HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Marrowby\Quillon (32-bit view) could not be read
// (error 5): ..."
std::string CouldNotRead(const ReadFailure& failure, WindowsWidth width) {
  return RegFileKeyName(failure.root, failure.path, failure.view, width) +
         ViewSuffix(failure.root, failure.path, failure.view, width) +
         " could not be read (error " + std::to_string(failure.code) +
         "): a file without its settings would reset them wherever it is imported.";
}

// An export from a machine where the printer was never set up is more often a
// slip (the wrong machine, the wrong user) than a wish to reset a fleet.
constexpr const char* kResetRefusal =
    "the utility found none of the printer's settings on this computer, so the file would reset "
    "every setting on every machine that imports it. To make that file on purpose, add "
    "/defaults after the file name.";

}  // namespace

ExportedSettings ExportSettings(Registry& registry, HelperLibrary& helperLibrary,
                                const NumberSeparators& numberSeparators,
                                const ExportOrigin& origin, WindowsWidth width,
                                const AnsiToUtf16& toUtf16, bool defaultsWanted) {
  RecordingRegistry recorder(registry);
  NoPrinters printers;
  HeadlessLoad load(recorder, printers, helperLibrary, numberSeparators, LookDepth::UpToTheWinner);
  HeadlessWindow& headless = load.headless;
  const ControlModel& controls = load.controls;
  const std::vector<std::string> loadMessages = std::exchange(headless.messages.texts, {});
  const bool foundAnySetting = load.Record().FoundAnySetting();

  // Apply closes the window when, and only when, it wrote everything.
  headless.window.btnApply_Click();
  if (const std::optional<ReadFailure>& failure = recorder.FirstReadFailure()) {
    return {.file = {}, .refusal = CouldNotRead(*failure, width)};
  }
  if (!foundAnySetting && !defaultsWanted) return {.file = {}, .refusal = kResetRefusal};
  if (!controls.Closed()) {
    std::string refusal;
    for (const std::string& text : headless.messages.texts) {
      refusal += (refusal.empty() ? "" : " ") + text;
    }
    return {.file = {}, .refusal = refusal};
  }
  return {
      .file = RegFileBytes(Header(origin, width, loadMessages), recorder.Changes(), width, toUtf16),
      .refusal = {}};
}

}  // namespace quillon
