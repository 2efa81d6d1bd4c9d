#pragma once
// The installed printers for native tests: a list of device names, the
// current printer (the system default until one is made current), and every
// document printed, with the printer it went to. Printing can be made to
// fail, as it does when no printer can be used.
#include <string>
#include <utility>
#include <vector>

#include "app/Printers.h"

namespace quillon {

struct PrintedDocument {
  std::string printer;
  std::vector<std::string> lines;
  int pointSize = 0;
  bool operator==(const PrintedDocument&) const = default;
};

class RecordedPrinters final : public Printers {
 public:
  RecordedPrinters(std::vector<std::string> installed, std::string systemDefault)
      : current(std::move(systemDefault)), installed_(std::move(installed)) {}

  std::vector<std::string> InstalledPrinterNames() override { return installed_; }
  void MakeCurrent(const std::string& deviceName) override { current = deviceName; }
  bool PrintDocument(const std::vector<std::string>& lines, int pointSize) override {
    if (failPrinting) return false;
    documents.push_back({current, lines, pointSize});
    return true;
  }

  std::string current;
  bool failPrinting = false;
  std::vector<PrintedDocument> documents;

 private:
  std::vector<std::string> installed_;
};

}  // namespace quillon
