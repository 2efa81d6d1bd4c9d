// The commands on the real registry and the caller's console or files.
#include "commands/win32/Commands.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "model/win32/UserNumberSeparators.h"
#include "model/win32/Win32Printers.h"
#include "commands/CheckSettings.h"
#include "commands/ExportSettings.h"
#include "commands/SettingsReport.h"
#include "commands/UserCopies.h"
#include "commands/win32/Win32Profiles.h"
#include "crypto/win32/Win32HelperLibrary.h"
#include "platform/MessageBoxes.h"
#include "settings/RegFileReader.h"
#include "settings/win32/Win32Registry.h"

namespace quillon {
namespace {

std::u16string AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                      reinterpret_cast<wchar_t*>(wide.data()), length);
  return wide;
}

// Older consoles refuse a single write of much more than 64 KB.
constexpr std::size_t kConsoleChunk = 8192;

// A console reads bytes in its OEM code page, not in the ANSI one the
// program's text is in, so any letter beyond ASCII in a path or a value would
// print as another character. A console therefore gets the text as UTF-16,
// which it shows whatever its code page. Anything else (a file, a pipe) gets
// the ANSI bytes, as "reg" and "cmd" write them there.
bool WriteAll(HANDLE handle, const std::string& text) {
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::u16string wide = AnsiToWide(text);
    for (std::size_t done = 0; done < wide.size();) {
      const auto chunk = static_cast<DWORD>(std::min(wide.size() - done, kConsoleChunk));
      DWORD written = 0;
      if (!WriteConsoleW(handle, wide.data() + done, chunk, &written, nullptr) || written == 0) {
        return false;
      }
      done += written;
    }
    return true;
  }
  for (std::size_t done = 0; done < text.size();) {
    DWORD written = 0;
    if (!WriteFile(handle, text.data() + done, static_cast<DWORD>(text.size() - done), &written,
                   nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// What the command line's caller reads: the console it was started from, or
// where it sent the program's output; a message box when there is neither.
// Scripts are never held up by a box unless nothing else can be read. What
// was asked for (the report, the help) and the line that says the work is
// done go to standard output; standard error carries only what went wrong,
// since PowerShell and deployment agents take anything there for a failure.
class CallerChannel {
 public:
  explicit CallerChannel(DWORD standardHandle) {
    console_ = GetStdHandle(standardHandle);
    if (Usable(console_)) return;
    // Started without handles (the exe typed at a prompt): the parent's
    // console, which the other channel may have attached already.
    if (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED) {
      // Reading too, which GetConsoleMode needs.
      console_ = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    }
  }
  bool HasConsole() const { return Usable(console_); }
  // False when the caller's end took the text but could not keep it (a full
  // disk, a closed pipe): for the report and the help that is a failure.
  bool Say(const std::string& text, bool boxWithoutConsole) const {
    if (HasConsole()) return WriteAll(console_, text + "\r\n");
    if (boxWithoutConsole) MessageBoxA(nullptr, text.c_str(), kWindowMessageTitle, kMbOk);
    return true;
  }

 private:
  static bool Usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  HANDLE console_ = nullptr;
};

// "The system cannot find the path specified. (error 3)"
std::string SystemMessage(DWORD error) {
  std::array<char, 512> text{};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, text.data(), static_cast<DWORD>(text.size()), nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n')) --length;
  return std::string(text.data(), length) + (length > 0 ? " " : "") + "(error " +
         std::to_string(error) + ")";
}

std::string NameOf(BOOL(WINAPI* ask)(LPSTR, LPDWORD)) {
  std::array<char, 257> name{};
  DWORD size = static_cast<DWORD>(name.size());
  return ask(name.data(), &size) ? std::string(name.data()) : std::string("(unknown)");
}

// Written beside the target and then moved over it, so that a failure
// leaves the target as it was, and says why.
std::string WriteWholeFile(const std::string& path, const std::string& bytes) {
  const std::string part = path + ".part";
  const HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return SystemMessage(GetLastError());
  DWORD written = 0;
  bool done = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
  DWORD error = done ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  if (done && !MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    done = false;
    error = GetLastError();
  }
  if (done) return {};
  DeleteFileA(part.c_str());
  return SystemMessage(error);
}

bool RunsUnderWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// What this process finds, not the processor name the window goes by (which
// knows only "AMD64"): a 64-bit process, or a 32-bit one under WOW64 on any
// 64-bit Windows, x64 or ARM64, sees two views of HKEY_LOCAL_MACHINE\Software.
WindowsWidth RunningWindowsWidth() {
  const bool twoViews = sizeof(void*) == 8 || RunsUnderWow64();
  return twoViews ? WindowsWidth::Bits64 : WindowsWidth::Bits32;
}

int Export(const std::string& path, bool defaultsWanted, const CallerChannel& caller) {
  Win32Registry registry;
  Win32HelperLibrary helperLibrary;
  const ExportedSettings exported =
      ExportSettings(registry, helperLibrary, UserNumberSeparators(),
                     {.computer = NameOf(GetComputerNameA), .user = NameOf(GetUserNameA)},
                     RunningWindowsWidth(), AnsiToWide, defaultsWanted);
  if (!exported.refusal.empty()) {
    caller.Say("Nothing was exported: " + exported.refusal, true);
    return 1;
  }
  if (const std::string failure = WriteWholeFile(path, exported.file); !failure.empty()) {
    caller.Say("Could not write " + path + ": " + failure, true);
    return 1;
  }
  CallerChannel(STD_OUTPUT_HANDLE).Say("Exported the settings to " + path + ".", false);
  return 0;
}

bool HelperLibraryLoads() {
  const HMODULE library = LoadLibraryA(kHelperLibraryName);
  if (library) FreeLibrary(library);
  return library != nullptr;
}

int Report(const std::string& path, const CallerChannel& caller) {
  Win32Registry registry;
  Win32HelperLibrary helperLibrary;
  Win32Printers printers;
  const std::string report =
      SettingsReport(registry, helperLibrary, printers, UserNumberSeparators(),
                     {.computer = NameOf(GetComputerNameA),
                      .user = NameOf(GetUserNameA),
                      .wow64Process = RunsUnderWow64(),
                      .helperLibraryLoads = HelperLibraryLoads()},
                     RunningWindowsWidth());
  if (path.empty()) {
    if (CallerChannel(STD_OUTPUT_HANDLE).Say(report, true)) return 0;
    const DWORD error = GetLastError();
    caller.Say("Could not write the report: " + SystemMessage(error), false);
    return 1;
  }
  if (const std::string failure = WriteWholeFile(path, report); !failure.empty()) {
    caller.Say("Could not write " + path + ": " + failure, true);
    return 1;
  }
  CallerChannel(STD_OUTPUT_HANDLE).Say("Wrote the report to " + path + ".", false);
  return 0;
}

// A registry file of the printer's settings is a few kilobytes; a larger one
// is refused before it is read.
constexpr LONGLONG kLargestRegistryFile = 16 << 20;

// The whole file, or why not.
std::string ReadWholeFile(const std::string& path, std::string& bytes) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return SystemMessage(GetLastError());
  LARGE_INTEGER size{};
  std::string failure;
  if (!GetFileSizeEx(file, &size)) {
    failure = SystemMessage(GetLastError());
  } else if (size.QuadPart > kLargestRegistryFile) {
    failure = "it holds " + std::to_string(size.QuadPart) +
              " bytes, more than a registry file of the printer's settings ever does (" +
              std::to_string(kLargestRegistryFile) + ")";
  } else {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size())) {
      failure = SystemMessage(GetLastError());
    }
  }
  CloseHandle(file);
  return failure;
}

std::string WideToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), ansi.data(), length, nullptr,
                      nullptr);
  return ansi;
}

// The lines of an answer, to standard output; whether they were written.
bool Answer(const std::vector<std::string>& lines) {
  std::string answer;
  for (const std::string& line : lines) answer += (answer.empty() ? "" : "\r\n") + line;
  return CallerChannel(STD_OUTPUT_HANDLE).Say(answer, true);
}

// Exit codes: 0 the same, 1 a setting differs or a key cannot be read (or the
// answer could not be written), 3 the file cannot be read as a registry file.
// With every user, each profile is checked.
int Check(const std::string& path, bool everyUser, const CallerChannel& caller) {
  std::string bytes;
  if (const std::string failure = ReadWholeFile(path, bytes); !failure.empty()) {
    caller.Say("Cannot check against " + path + ": " + failure + ".", true);
    return 3;
  }
  const RegFileRead file = ReadRegFile(bytes, WideToAnsi, AnsiToWide);
  if (!file.error.empty()) {
    const std::string where =
        file.errorLine == 0 ? std::string() : ", line " + std::to_string(file.errorLine);
    caller.Say("Cannot check against " + path + where + ": " + file.error + ".", true);
    return 3;
  }
  Win32Registry registry;
  Win32HelperLibrary helperLibrary;
  Win32Profiles profiles;
  const CheckOutcome outcome =
      everyUser ? CheckSettingsForEveryUser(registry, profiles, helperLibrary,
                                            UserNumberSeparators(), file.operations,
                                            RunningWindowsWidth())
                : CheckSettings(registry, helperLibrary, UserNumberSeparators(), file.operations,
                                RunningWindowsWidth());
  const bool said = Answer(outcome.lines);
  return said && outcome.verdict == CheckOutcome::Verdict::Same ? 0 : 1;
}

// Exit codes: 0 no profile holds a copy of its own (or, clearing, every one
// was removed), 1 otherwise, or when a profile cannot be read or the answer
// written.
int Users(bool clear) {
  Win32Registry registry;
  Win32HelperLibrary helperLibrary;
  Win32Profiles profiles;
  const UsersOutcome outcome =
      clear ? ClearUserCopies(registry, profiles, helperLibrary, UserNumberSeparators(),
                              RunningWindowsWidth())
            : ListUserCopies(registry, profiles, helperLibrary, UserNumberSeparators(),
                             RunningWindowsWidth());
  const bool said = Answer(outcome.lines);
  return said && outcome.clean ? 0 : 1;
}

}  // namespace

// Exit codes: 0 done, 1 the export refused, or the export, the report or the
// help could not be written, 2 the command line is wrong; the check's and /users' own.
int RunCommand(const CommandLine& command) {
  switch (command.action) {
    case CommandLine::Action::Window:
      break;
    case CommandLine::Action::Export:
      return Export(command.file, command.option, CallerChannel(STD_ERROR_HANDLE));
    case CommandLine::Action::Report:
      return Report(command.file, CallerChannel(STD_ERROR_HANDLE));
    case CommandLine::Action::Check:
      return Check(command.file, command.option, CallerChannel(STD_ERROR_HANDLE));
    case CommandLine::Action::Users:
      return Users(command.option);
    case CommandLine::Action::Help: {
      if (CallerChannel(STD_OUTPUT_HANDLE).Say(CommandLineHelp(), true)) return 0;
      const DWORD error = GetLastError();
      CallerChannel(STD_ERROR_HANDLE)
          .Say("Could not write the help: " + SystemMessage(error), false);
      return 1;
    }
    case CommandLine::Action::Mistake:
      CallerChannel(STD_ERROR_HANDLE).Say(command.mistake, true);
      return 2;
  }
  return 2;
}

}  // namespace quillon
