// The export: load and Apply on the in-memory window, the registry recording.
#include "app/ExportSettings.h"

#include <optional>
#include <utility>
#include <vector>

#include "app/AdminUtilityMain.h"
#include "app/ControlModel.h"
#include "app/ControlTable.h"
#include "settings/RecordingRegistry.h"

namespace quillon {
namespace {

// What the window would have shown, kept for the file or for the refusal.
class KeptMessages final : public MessageBoxes {
 public:
  int Show(const std::string& text, const std::string&, unsigned) override {
    texts.push_back(text);
    return kIdOk;
  }
  std::vector<std::string> texts;

 private:
  static constexpr int kIdOk = 1;
};

// Load and Apply never ask for a file, a printer or the broadcast's answer;
// the broadcast goes out when the file is imported and the machine restarts.
class NoFileDialog final : public OpenFileDialog {
 public:
  std::optional<std::string> Choose(const OpenFileRequest&) override { return std::nullopt; }
};
class NoPrinters final : public Printers {
 public:
  std::vector<std::string> InstalledPrinterNames() override { return {}; }
  void MakeCurrent(const std::string&) override {}
  bool PrintDocument(const std::vector<std::string>&, int) override { return false; }
};
class NoBroadcast final : public EnvironmentBroadcast {
 public:
  void AnnounceEnvironmentChange() override {}
};

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

std::vector<std::string> Header(const ExportOrigin& origin,
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
  for (const std::string& message : loadMessages) {
    lines.push_back("While reading the settings, the utility reported: " + OneLine(message));
  }
  return lines;
}

}  // namespace

ExportedSettings ExportSettings(Registry& registry, HelperLibrary& helperLibrary,
                                const NumberSeparators& numberSeparators,
                                const ExportOrigin& origin, const AnsiToUtf16& toUtf16) {
  RecordingRegistry recorder(registry);
  ControlModel controls;
  KeptMessages messages;
  NoFileDialog openFileDialog;
  NoPrinters printers;
  NoBroadcast environmentBroadcast;
  const bool windows64 = RegistryAccess(recorder, messages).Is64BitWindows();
  AdminUtilityMain window({.controls = controls,
                           .openFileDialog = openFileDialog,
                           .numberSeparators = numberSeparators,
                           .registry = recorder,
                           .messageBoxes = messages,
                           .printers = printers,
                           .environmentBroadcast = environmentBroadcast,
                           .helperLibrary = helperLibrary});
  window.Form_Load();
  const std::vector<std::string> loadMessages = std::exchange(messages.texts, {});

  // Apply closes the window when, and only when, it wrote everything.
  window.btnApply_Click();
  if (!controls.Closed()) {
    std::string refusal;
    for (const std::string& text : messages.texts) refusal += (refusal.empty() ? "" : " ") + text;
    return {.file = {}, .refusal = refusal};
  }
  return {
      .file = RegFileBytes(Header(origin, loadMessages), recorder.Changes(), windows64, toUtf16),
      .refusal = {}};
}

}  // namespace quillon
