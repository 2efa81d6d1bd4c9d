#pragma once
// The commands that run without a window (the export, the report, the check,
// the users' copies, the help, a wrong command line), on the real registry, speaking to whoever
// started the program: its console, the files and pipes it was given, or a
// message box when there is nothing else.
#include "commands/CommandLine.h"

namespace quillon {

// Runs any command but the window's; the program's exit code.
int RunCommand(const CommandLine& command);

}  // namespace quillon
