// The printers on a machine without a print system, and on a printer that
// does not exist: printing must fail cleanly and at once.
#include "app/win32/Win32Printers.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

const std::vector<std::string> kTestLines = {" ", " ", " ", "           Quillon test to \"x.pdf\""};

TEST(Win32Printers, WithoutPrintersNothingCanBePrinted) {
  Win32Printers printers;
  if (!printers.InstalledPrinterNames().empty()) {
    GTEST_SKIP() << "a print system lists printers here; this case needs a machine without one";
  }
  EXPECT_EQ(printers.CurrentPrinterName(), "");
  EXPECT_FALSE(printers.PrintDocument(kTestLines, 24));
}

TEST(Win32Printers, AChosenPrinterStaysCurrentEvenWhenItCannotPrint) {
  Win32Printers printers;
  printers.MakeCurrent("Quillon Printer That Does Not Exist");
  EXPECT_EQ(printers.CurrentPrinterName(), "Quillon Printer That Does Not Exist");
  EXPECT_FALSE(printers.PrintDocument(kTestLines, 24));
  EXPECT_EQ(printers.CurrentPrinterName(), "Quillon Printer That Does Not Exist");
}

}  // namespace
}  // namespace quillon
