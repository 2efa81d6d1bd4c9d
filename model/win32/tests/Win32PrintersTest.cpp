// The printers where CUPS_SERVER names a socket nothing listens on (the
// test's environment sets it): the spooler lists none, and a test print
// fails at once instead of hanging, whether or not a printer was named.
#include <gtest/gtest.h>

#include "model/win32/Win32Printers.h"

namespace quillon {
namespace {

TEST(Win32Printers, WithoutAPrintServerNothingIsListedOrPrinted) {
  const std::vector<std::string> lines = {" ", "Quillon test"};
  Win32Printers printers;
  EXPECT_EQ(printers.InstalledPrinterNames(), std::vector<std::string>{});
  EXPECT_EQ(printers.CurrentPrinterName(), "");
  EXPECT_FALSE(printers.PrintDocument(lines, 24));
  printers.MakeCurrent("Quillon");
  EXPECT_FALSE(printers.PrintDocument(lines, 24));
}

}  // namespace
}  // namespace quillon
