#pragma once
// Runs a command of the host (Linux) system from inside Wine, for what only
// the host can tell: the print queues and the text of a PDF file. Wine starts
// a host program from CreateProcess but gives no handle to wait on, so the
// command runs in a small script that leaves its output and exit status in
// the scratch folder, and the driver waits for the status file to appear.
#include <optional>
#include <string>

#include "e2e/driver/Waiting.h"

namespace quillon::e2e {

struct HostResult {
  int exitStatus = -1;
  std::string output;  // standard output and standard error together
};

// `command` is a /bin/sh command line. None (with a failure naming the
// command) when it could not be started or did not finish in time.
std::optional<HostResult> RunOnHost(const std::string& command, Milliseconds patience = kPatience);

// Quotes a text for /bin/sh.
std::string ShellQuoted(const std::string& text);

}  // namespace quillon::e2e
