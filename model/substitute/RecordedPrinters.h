#pragma once
// The installed printers for native tests: their names, the current printer
// (the system default until one is made current), and each document printed
// as "<printer>|<point size>|<line>|<line>...", where <printer> is the system
// default followed by ">" and each printer made current since.
#include <string>
#include <utility>
#include <vector>

#include "model/Printers.h"

namespace quillon {

class RecordedPrinters final : public Printers {
 public:
  RecordedPrinters(std::vector<std::string> names, std::string systemDefault)
      : installed_(std::move(names)), current_(std::move(systemDefault)) {}
  std::vector<std::string> InstalledPrinterNames() override { return installed_; }
  void MakeCurrent(const std::string& deviceName) override { current_ += ">" + deviceName; }
  bool PrintDocument(const std::vector<std::string>& lines, int pointSize) override {
    documents.push_back(current_ + "|" + std::to_string(pointSize));
    for (const std::string& line : lines) documents.back() += "|" + line;
    return true;
  }
  std::vector<std::string> documents;

 private:
  std::vector<std::string> installed_;
  std::string current_;
};

}  // namespace quillon
