#pragma once
// Why this machine prints as it does: for each setting, what the window would
// show, the copy that value comes from, and what became of every other copy.
// The window's own load decides it and records its decisions, run without a
// window on a registry that opens keys without creating them and writes
// nothing; the report only renders that record. Nothing in the registry changes.
#include <string>

#include "model/LocaleNumber.h"
#include "model/Printers.h"
#include "crypto/HelperLibrary.h"
#include "settings/Registry.h"

namespace quillon {

// What the report's header says about the machine and the process, besides
// what it reads from the registry itself.
struct ReportOrigin {
  std::string computer;
  std::string user;
  bool wow64Process = false;
  bool helperLibraryLoads = false;
};

// The report as plain text, CRLF line ends.
std::string SettingsReport(Registry& registry, HelperLibrary& helperLibrary, Printers& printers,
                           const NumberSeparators& numberSeparators, const ReportOrigin& origin,
                           WindowsWidth width);

}  // namespace quillon
