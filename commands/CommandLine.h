#pragma once
// What the program's command line asks for. Without arguments the program
// opens its window; "/export FILE [/defaults]" writes this machine's settings
// to a registry file instead; "/report [FILE]" tells where each setting comes
// from, in FILE or to the caller; "/check FILE" whether this machine shows
// what the registry file FILE would make it show, with "/allusers" for every
// user's profile; "/users" which profiles hold copies of their own, and
// "/users /clear" removes them; "/?" tells how. Switches start with "/" or
// "-" and ignore case; a name with blanks is given in double quotes.
#include <string>
#include <string_view>

namespace quillon {

struct CommandLine {
  enum class Action { Window, Export, Report, Check, Users, Help, Mistake };
  Action action = Action::Window;
  std::string file;     // Export, Report: where to write (Report: empty for the caller);
                        // Check: the file to check against
  std::string mistake;  // Mistake: what is wrong, as a sentence
  // The command's own switch, given. Export "/defaults": a file that resets
  // every setting is wanted even when this machine holds none of them. Check
  // "/allusers": every user's profile is checked. Users "/clear": their
  // copies are removed.
  bool option = false;
};

// `arguments` is the command line after the program's name.
CommandLine ParseCommandLine(std::string_view arguments);

// The lines "/?" prints.
std::string CommandLineHelp();

}  // namespace quillon
