// quillon-admin.com, the utility's face at a command prompt. The utility is a
// GUI program, so cmd and PowerShell go back to the prompt as soon as it has
// started: its line comes after the prompt and the exit code they keep is not
// its own. cmd and PowerShell prefer a .com to an .exe when the extension is
// left out, so "quillon-admin /export FILE" runs this console program, which
// runs the command itself, in the prompt's console, and ends with its exit
// code: one process start, without the window's control and theme libraries.
// Why a companion: a console-subsystem utility would open a console window
// when double-clicked, and a GUI one that attaches to its parent's console
// still cannot make the shell wait.
//
// Elevation. The commands run at the caller's level, as this program's
// manifest asks: all but one only read, and the one that writes every user's
// profile ("/users /clear") refuses without administrator rights rather than
// asking for them, as a script run as SYSTEM or from an elevated prompt
// expects. That the manifest names a level at all keeps
// UAC's registry virtualization off, so what they read is the real machine
// key, not a per-user copy of it. The window, asked for without arguments,
// needs the highest level its user has to write the machine key: it is
// quillon-admin.exe beside this program, started through the shell, which
// asks for elevation exactly as a double-click does; it is not waited for,
// so the prompt is free while it is open.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "commands/CommandLine.h"
#include "commands/win32/Commands.h"

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

// A script's Ctrl+C or Ctrl+Break would end an export between writing its
// file and moving it over the target, leaving the ".part" file beside it,
// and hand the script 0xC000013A instead of the command's answer. The
// commands are short: they finish, and the script gets their exit code.
BOOL WINAPI IgnoreInterruption(DWORD event) {
  return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

int OpenWindow(const char* arguments) {
  const std::string utility = UtilityPath();
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
  const char* arguments = ArgumentsOf(GetCommandLineA());
  const quillon::CommandLine command = quillon::ParseCommandLine(arguments);
  if (command.action == quillon::CommandLine::Action::Window) return OpenWindow(arguments);
  SetConsoleCtrlHandler(IgnoreInterruption, TRUE);
  return quillon::RunCommand(command);
}
