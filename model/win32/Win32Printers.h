#pragma once
// The installed printers and the program's current printer through the print
// spooler and GDI. Until MakeCurrent names a printer, the current printer is
// whatever the system's default printer is at the moment of printing.
#include <optional>
#include <string>
#include <vector>

#include "model/Printers.h"

namespace quillon {

class Win32Printers final : public Printers {
 public:
  std::vector<std::string> InstalledPrinterNames() override;
  void MakeCurrent(const std::string& deviceName) override;
  bool PrintDocument(const std::vector<std::string>& lines, int pointSize) override;

  // The printer PrintDocument would use now; empty when there is none.
  std::string CurrentPrinterName() const;

 private:
  std::optional<std::string> chosen_;
};

}  // namespace quillon
