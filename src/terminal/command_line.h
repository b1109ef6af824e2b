// The terminal program's command line: the options every Linux command answers, and the choice of
// the simulated laptop.
#pragma once

#include <string>

struct CommandLine {
  enum class Action { run, show_help, show_version, reject } action = Action::run;
  std::string rejected;   // the argument that was not understood
  bool simulate = false;  // the simulated laptop even where the machine has a battery
};

CommandLine parse_command_line(int argc, const char* const* argv);

// Prints what a command line that does not run the panel asks for; returns the exit status.
int answer_command_line(const CommandLine& command_line);
