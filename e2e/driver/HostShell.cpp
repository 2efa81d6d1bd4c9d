// Host commands through a script in the scratch folder.
#include "e2e/driver/HostShell.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "e2e/driver/RunFolders.h"

namespace quillon::e2e {
namespace {

constexpr char kHostShell[] = "/bin/sh";

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

// The status file is renamed into place only when complete, so a file that
// exists holds the whole status.
std::string ScriptText(const std::string& command, const std::string& stem) {
  return "{ " + command + "\n} >" + ShellQuoted(stem + ".out") + " 2>&1\n" + "echo $? >" +
         ShellQuoted(stem + ".status.part") + "\n" + "mv " + ShellQuoted(stem + ".status.part") +
         " " + ShellQuoted(stem + ".status") + "\n";
}

}  // namespace

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::optional<HostResult> RunOnHost(const std::string& command, Milliseconds patience) {
  static int runs = 0;
  const std::string name =
      "host-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
  const std::string folder = ScratchFolder();
  const std::string hostStem = ScratchFolderOnHost() + "/" + name;
  const std::string stem = folder + "\\" + name;
  std::ofstream(stem + ".sh", std::ios::binary) << ScriptText(command, hostStem);

  std::string commandLine = std::string(kHostShell) + " " + hostStem + ".sh";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    ADD_FAILURE() << "could not start the host command `" << command << "` (error "
                  << GetLastError() << ")";
    return std::nullopt;
  }
  // Wine reports success for a host program but hands back no process
  // handle, and what stands in the thread's place is not a handle of ours to
  // close.
  if (started.hProcess) {
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }

  const std::string statusFile = stem + ".status";
  if (!WaitUntil(
          "the host command `" + command + "` to finish",
          [&] { return GetFileAttributesA(statusFile.c_str()) != INVALID_FILE_ATTRIBUTES; },
          patience)) {
    return std::nullopt;
  }
  HostResult result{
      .exitStatus = static_cast<int>(std::strtol(ReadWholeFile(statusFile).c_str(), nullptr, 10)),
      .output = ReadWholeFile(stem + ".out")};
  for (const char* suffix : {".sh", ".out", ".status"}) DeleteFileA((stem + suffix).c_str());
  return result;
}

}  // namespace quillon::e2e
