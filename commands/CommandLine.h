#pragma once
// What the program's command line asks for. Without arguments the program
// opens its window; "/export FILE [/defaults]" writes this machine's settings
// to a registry file instead; "/report [FILE]" tells where each setting comes
// from, in FILE or to the caller; "/check FILE" whether this machine shows
// what the registry file FILE would make it show; "/?" tells how. Switches start with "/" or
// "-" and ignore case; a name with blanks is given in double quotes.
#include <string>
#include <string_view>

namespace quillon {

struct CommandLine {
  enum class Action { Window, Export, Report, Check, Help, Mistake };
  Action action = Action::Window;
  std::string file;     // Export, Report: where to write (Report: empty for the caller);
                        // Check: the file to check against
  std::string mistake;  // Mistake: what is wrong, as a sentence
  // Export: a file that resets every setting is wanted even when this machine
  // holds none of them.
  bool defaults = false;
};

// `arguments` is the command line after the program's name.
CommandLine ParseCommandLine(std::string_view arguments);

// The lines "/?" prints.
std::string CommandLineHelp();

}  // namespace quillon
