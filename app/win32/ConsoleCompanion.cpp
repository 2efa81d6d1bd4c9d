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
#include <windows.h>

#include <string>

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

}  // namespace

int main() {
  const std::string utility = UtilityPath();
  std::string command = "\"" + utility + "\"" + ArgumentsOf(GetCommandLineA());
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
