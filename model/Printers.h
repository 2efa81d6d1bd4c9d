#pragma once
// The installed printers and the program's current printer, as the test
// print sees them. At program start the current printer is the system's
// default printer.
#include <string>
#include <vector>

namespace quillon {

class Printers {
 public:
  virtual ~Printers() = default;
  // Device names of the installed printers, in the order the system lists them.
  virtual std::vector<std::string> InstalledPrinterNames() = 0;
  // Makes the named printer the program's current printer until it ends.
  virtual void MakeCurrent(const std::string& deviceName) = 0;
  // Prints one document, one text line after another at the given font size
  // in points, on the current printer, and ends it so that the job goes to the
  // spooler. False when no printer can be used or the job could not be
  // started or ended.
  virtual bool PrintDocument(const std::vector<std::string>& lines, int pointSize) = 0;
};

}  // namespace quillon
