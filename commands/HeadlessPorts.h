#pragma once
// The window's logic run without a window (the export and the report): the
// load and Apply never ask for a file or announce a change there, and what
// they would have shown in a box is kept for the caller.
#include <optional>
#include <string>
#include <vector>

#include "model/AdminUtilityMain.h"
#include "model/ControlModel.h"
#include "settings/RecordingRegistry.h"

namespace quillon {

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

class NoFileDialog final : public OpenFileDialog {
 public:
  std::optional<std::string> Choose(const OpenFileRequest&) override { return std::nullopt; }
};

// The load and Apply print nothing; only Test would.
class NoPrinters final : public Printers {
 public:
  std::vector<std::string> InstalledPrinterNames() override { return {}; }
  void MakeCurrent(const std::string&) override {}
  bool PrintDocument(const std::vector<std::string>&, int) override { return false; }
};

// The broadcast goes out where the file is imported, when the machine restarts.
class NoBroadcast final : public EnvironmentBroadcast {
 public:
  void AnnounceEnvironmentChange() override {}
};

// The window's core over the caller's controls, registry, printers and
// helper library, with the ports above.
struct HeadlessWindow {
  HeadlessWindow(Controls& controls, Registry& registry, Printers& printers,
                 HelperLibrary& helperLibrary, const NumberSeparators& numberSeparators)
      : window({.controls = controls,
                .openFileDialog = openFileDialog,
                .numberSeparators = numberSeparators,
                .registry = registry,
                .messageBoxes = messages,
                .printers = printers,
                .environmentBroadcast = environmentBroadcast,
                .helperLibrary = helperLibrary}) {}

  KeptMessages messages;
  NoFileDialog openFileDialog;
  NoBroadcast environmentBroadcast;
  AdminUtilityMain window;  // last: it works through the ports above
};

// The window's load on in-memory controls over a recorder, which the export,
// the report and the check each start from.
struct HeadlessLoad {
  HeadlessLoad(RecordingRegistry& recorder, Printers& printers, HelperLibrary& helperLibrary,
               const NumberSeparators& numberSeparators, LookDepth depth)
      : headless(controls, recorder, printers, helperLibrary, numberSeparators) {
    headless.window.Form_Load(depth);
  }
  const LoadRecord& Record() const { return headless.window.Record(); }

  ControlModel controls;
  HeadlessWindow headless;  // after the controls it works on
};

// A kept message as one line of a file or a console.
inline std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

}  // namespace quillon
