// The command line split as Windows programs split theirs, then read.
#include "commands/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "model/ControlTable.h"

namespace quillon {
namespace {

// Blanks separate arguments except inside double quotes, which are dropped.
std::vector<std::string> SplitArguments(std::string_view line) {
  std::vector<std::string> arguments;
  std::string current;
  bool quoted = false;
  bool inArgument = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inArgument) arguments.push_back(std::exchange(current, {}));
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) arguments.push_back(current);
  return arguments;
}

// "export" for "/export", "-EXPORT" and the like; empty for a non-switch.
std::string SwitchName(const std::string& argument) {
  if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return {};
  std::string name = argument.substr(1);
  std::ranges::transform(name, name.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  return name;
}

CommandLine Mistake(std::string text) {
  return {.action = CommandLine::Action::Mistake, .file = {}, .mistake = std::move(text), .option = false};
}

// Each command: its switch, whether a file follows it, and the one switch
// of its own that may come last.
enum class FileArgument { Required, Optional, None };
struct CommandForm {
  std::string_view name;
  CommandLine::Action action;
  FileArgument file;
  std::string_view option;
};
constexpr CommandForm kForms[] = {
    {"export", CommandLine::Action::Export, FileArgument::Required, "defaults"},
    {"report", CommandLine::Action::Report, FileArgument::Optional, ""},
    {"check", CommandLine::Action::Check, FileArgument::Required, "allusers"},
    {"users", CommandLine::Action::Users, FileArgument::None, "clear"},
};

// "/defaults", "/allusers" or "/clear", whichever command it follows.
bool IsOwnSwitch(const std::string& argument) {
  const std::string name = SwitchName(argument);
  return !name.empty() && std::ranges::find(kForms, name, &CommandForm::option) != std::end(kForms);
}

}  // namespace

CommandLine ParseCommandLine(std::string_view line) {
  const std::vector<std::string> arguments = SplitArguments(line);
  if (arguments.empty()) return {};
  const std::string name = SwitchName(arguments[0]);
  if (name == "?" && arguments.size() == 1) {
    return {.action = CommandLine::Action::Help, .file = {}, .mistake = {}, .option = false};
  }
  const auto* form = std::ranges::find(kForms, name, &CommandForm::name);
  if (form == std::end(kForms)) {
    return Mistake("Unknown argument \"" + arguments[0] + "\". Use /? to see the command line.");
  }
  const auto isOption = [&](std::size_t at) {
    return !form->option.empty() && arguments.size() > at && SwitchName(arguments[at]) == form->option;
  };
  // No command's own switch is ever taken for a file's name.
  const bool fileGiven =
      form->file != FileArgument::None && arguments.size() > 1 && !IsOwnSwitch(arguments[1]);
  if (fileGiven ? arguments[1].empty() : form->file == FileArgument::Required) {
    return Mistake("No file name after " + arguments[0] + ". Use /? to see the command line.");
  }
  const std::size_t next = fileGiven ? 2 : 1;
  const bool option = isOption(next);
  if (const std::size_t expected = next + (option ? 1 : 0); arguments.size() > expected) {
    return Mistake("Unexpected argument \"" + arguments[expected] + "\"" +
                   (fileGiven ? " after the file name. Put a name with blanks in double quotes."
                              : ". Use /? to see the command line."));
  }
  return {.action = form->action,
          .file = fileGiven ? arguments[1] : std::string(),
          .mistake = {},
          .option = option};
}

std::string CommandLineHelp() {
  return std::string(kMainWindow.title) +
         "\r\n"
         "quillon-admin.exe                opens the window\r\n"
         "quillon-admin.exe /export FILE   writes this computer's printer settings, as Apply\r\n"
         "                                 would store them, to the registry file FILE; import\r\n"
         "                                 it on machines of the same width as its header says.\r\n"
         "                                 Where none of the settings is stored, it refuses:\r\n"
         "                                 the file would reset them wherever it is imported\r\n"
         "quillon-admin.exe /export FILE /defaults\r\n"
         "                                 writes that file of defaults all the same\r\n"
         "quillon-admin.exe /report [FILE] tells, for each setting, what the window shows,\r\n"
         "                                 where that comes from and which copies it hides;\r\n"
         "                                 to FILE, or to the console it was started from\r\n"
         "quillon-admin.exe /check FILE    tells whether this computer shows every setting as\r\n"
         "                                 the registry file FILE (an /export) would make it\r\n"
         "                                 show: exit 0 if so, 1 naming each one that differs\r\n"
         "                                 or when a key cannot be read, 3 when FILE cannot\r\n"
         "                                 be read as a registry file\r\n"
         "quillon-admin.exe /check FILE /allusers\r\n"
         "                                 tells the same for every user's profile: whether\r\n"
         "                                 each user shows what the file would make a user\r\n"
         "                                 without copies of their own show, once imported\r\n"
         "quillon-admin.exe /users         lists, for every user's profile, the settings its\r\n"
         "                                 own copies give that user instead of the all-users\r\n"
         "                                 settings: exit 0 if none does, 1 if one does or a\r\n"
         "                                 profile cannot be read\r\n"
         "quillon-admin.exe /users /clear  removes those copies from every profile, then lists\r\n"
         "                                 what is left; needs administrator rights\r\n"
         "quillon-admin.exe /?             shows this";
}

}  // namespace quillon
