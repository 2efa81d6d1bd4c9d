#pragma once
// One run of the utility under test: started with CreateProcess, watched,
// and ended by force if a scenario leaves it running, so that no failed
// scenario leaves a program behind for the next one.
#include <windows.h>

#include <memory>
#include <string>

#include "e2e/driver/Waiting.h"

namespace quillon::e2e {

struct LaunchOptions {
  std::string program{};        // full path of the executable
  std::string workingFolder{};  // empty: the program's own folder
};

class UtilityProcess {
 public:
  // Adds a failure and returns null when the program cannot be started.
  static std::unique_ptr<UtilityProcess> Launch(const LaunchOptions& options);

  ~UtilityProcess();
  UtilityProcess(const UtilityProcess&) = delete;
  UtilityProcess& operator=(const UtilityProcess&) = delete;

  DWORD Id() const { return info_.dwProcessId; }
  bool HasEnded() const;
  // Waits for the program to end by itself; a failure names `why`.
  [[nodiscard]] bool WaitForEnd(const std::string& why, Milliseconds patience = kPatience) const;
  // Ends it at once; a no-op once it has ended.
  void Terminate();

  // Whether a module of that file name (no folder, any case) is loaded in
  // it now.
  bool HasLoaded(const std::string& moduleName) const;

 private:
  explicit UtilityProcess(const PROCESS_INFORMATION& info) : info_(info) {}

  PROCESS_INFORMATION info_{};
};

}  // namespace quillon::e2e
