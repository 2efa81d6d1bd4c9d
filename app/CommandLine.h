#pragma once
// What the program's command line asks for. Without arguments the program
// opens its window; "/export FILE" writes this machine's settings to a
// registry file instead; "/report [FILE]" tells where each setting comes from,
// in FILE or to the caller; "/?" tells how. Switches start with "/" or "-" and
// ignore case; a name with blanks is given in double quotes.
#include <string>
#include <string_view>

namespace quillon {

struct CommandLine {
  enum class Action { Window, Export, Report, Help, Mistake };
  Action action = Action::Window;
  std::string file;     // Export, Report: where to write (Report: empty for the caller)
  std::string mistake;  // Mistake: what is wrong, as a sentence
};

// `arguments` is the command line after the program's name.
CommandLine ParseCommandLine(std::string_view arguments);

// The lines "/?" prints.
std::string CommandLineHelp();

}  // namespace quillon
