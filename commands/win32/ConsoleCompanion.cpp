// quillon-admin.com, the utility's face at a command prompt. The utility is a
// GUI program, so cmd and PowerShell go back to the prompt as soon as it has
// started: its line comes after the prompt and the exit code they keep is not
// its own. cmd and PowerShell prefer a .com to an .exe when the extension is
// left out, so "quillon-admin /export FILE" runs this console program, which
// starts quillon-admin.exe beside it with the same arguments and its own
// standard handles, waits for it and returns its exit code.
// Why a companion: a console-subsystem utility would open a console window
// when double-clicked, and a GUI one that attaches to its parent's console
// still cannot make the shell wait.
//
// Elevation. The exe's manifest asks for the highest level its user has, which
// the window needs to write the machine key. CreateProcess cannot raise a
// process, so from an ordinary (filtered) prompt of an administrator it would
// refuse the exe outright (error 740). The commands only read, so they run at
// the caller's level: the exe is started with Windows' RunAsInvoker
// compatibility layer, which sets aside the manifest's level and nothing else.
// The manifest's level still keeps UAC's registry virtualization off, so what
// they read is the real machine key, not a per-user copy of it. The window,
// asked for without arguments, is started through the shell instead, which
// asks for elevation exactly as a double-click does; it is not waited for,
// so the prompt is free while it is open.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "commands/CommandLine.h"

namespace {

// What follows the program's own name on the command line, as typed there.
const char* ArgumentsOf(const char* line) {
  if (*line == '"') {
    ++line;
    while (*line != '\0' && *line != '"') ++line;
    if (*line != '\0') ++line;
  } else {
    while (*line != '\0' && *line != ' ' && *line != '\t') ++line;
  }
  return line;
}

// This program's own path with ".exe" for its extension.
std::string UtilityPath() {
  std::string path(32768, '\0');
  path.resize(GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size())));
  const std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && path.find('\\', dot) == std::string::npos) path.resize(dot);
  return path + ".exe";
}

void SayOnStandardError(const std::string& text) {
  const std::string line = text + "\r\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
}

bool SameWord(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

// The compatibility layers already asked for (blank-separated) stay.
std::string WithRunAsInvoker(std::string layers) {
  constexpr std::string_view kLayer = "RunAsInvoker";
  for (std::size_t start = 0; start < layers.size();) {
    const std::size_t end = std::min(layers.find(' ', start), layers.size());
    if (SameWord(std::string_view(layers).substr(start, end - start), kLayer)) return layers;
    start = end + 1;
  }
  return layers + (layers.empty() ? "" : " ") + std::string(kLayer);
}

std::string EnvironmentVariable(const char* name) {
  std::string value(32767, '\0');
  value.resize(GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size())));
  return value;
}

// A script's Ctrl+C or Ctrl+Break would end this program and leave the exe
// running: the script would go on with 0xC000013A while the export is still
// being written. The exe, a GUI program, never sees the keys and ends by
// itself; what it ends with is what the script gets.
BOOL WINAPI IgnoreInterruption(DWORD event) {
  return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

int OpenWindow(const std::string& utility, const char* arguments) {
  SHELLEXECUTEINFOA execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execute.lpFile = utility.c_str();
  execute.lpParameters = arguments;
  execute.nShow = SW_SHOWNORMAL;
  if (ShellExecuteExA(&execute)) return 0;
  const DWORD error = GetLastError();
  SayOnStandardError("Could not open " + utility + " (error " + std::to_string(error) +
                     (error == ERROR_CANCELLED ? ": the elevation was declined)." : ")."));
  return 1;
}

}  // namespace

int main() {
  const std::string utility = UtilityPath();
  const char* arguments = ArgumentsOf(GetCommandLineA());
  if (!quillon::OnlyReads(quillon::ParseCommandLine(arguments))) {
    return OpenWindow(utility, arguments);
  }

  // Set in this program's environment, which the exe inherits: Windows takes
  // the layers from the environment a program is created with.
  SetEnvironmentVariableA("__COMPAT_LAYER",
                          WithRunAsInvoker(EnvironmentVariable("__COMPAT_LAYER")).c_str());
  SetConsoleCtrlHandler(IgnoreInterruption, TRUE);
  std::string command = "\"" + utility + "\"" + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(utility.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    SayOnStandardError("Could not start " + utility + " (error " + std::to_string(GetLastError()) +
                       ").");
    return 1;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  if (!GetExitCodeProcess(process.hProcess, &code)) code = 1;
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}
