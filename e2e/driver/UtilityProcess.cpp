// Starting, watching and ending the program under test.
#include "e2e/driver/UtilityProcess.h"

#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace quillon::e2e {
namespace {

constexpr UINT kTerminatedExitCode = 0xE2E;

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

}  // namespace

std::unique_ptr<UtilityProcess> UtilityProcess::Launch(const LaunchOptions& options) {
  std::string commandLine = "\"" + options.program + "\"";
  const std::string folder =
      options.workingFolder.empty() ? FolderOf(options.program) : options.workingFolder;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(options.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, folder.c_str(), &startup, &info)) {
    ADD_FAILURE() << "could not start " << options.program << " (error " << GetLastError() << ")";
    return nullptr;
  }
  return std::unique_ptr<UtilityProcess>(new UtilityProcess(info));
}

UtilityProcess::~UtilityProcess() {
  Terminate();
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool UtilityProcess::HasEnded() const {
  return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
}

bool UtilityProcess::WaitForEnd(const std::string& why, Milliseconds patience) const {
  return WaitUntil(
      "the utility to end (" + why + ")", [this] { return HasEnded(); }, patience);
}

void UtilityProcess::Terminate() {
  if (HasEnded()) return;
  TerminateProcess(info_.hProcess, kTerminatedExitCode);
  WaitForSingleObject(info_.hProcess, static_cast<DWORD>(kPatience.count()));
}

bool UtilityProcess::HasLoaded(const std::string& moduleName) const {
  std::array<HMODULE, 512> modules{};
  DWORD bytesNeeded = 0;
  if (!EnumProcessModules(info_.hProcess, modules.data(), sizeof modules, &bytesNeeded)) {
    return false;
  }
  const std::size_t count = std::min<std::size_t>(bytesNeeded / sizeof(HMODULE), modules.size());
  for (std::size_t i = 0; i < count; ++i) {
    std::array<char, MAX_PATH> name{};
    if (GetModuleBaseNameA(info_.hProcess, modules[i], name.data(),
                           static_cast<DWORD>(name.size())) &&
        _stricmp(name.data(), moduleName.c_str()) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace quillon::e2e
