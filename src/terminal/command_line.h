// The terminal program's command line: only the options every Linux command answers.
#pragma once

#include <string>

struct CommandLine {
  enum class Action { run, show_help, show_version, reject } action = Action::run;
  std::string rejected;  // the argument that was not understood
};

CommandLine parse_command_line(int argc, const char* const* argv);

// Prints what a command line that does not run the panel asks for; returns the exit status.
int answer_command_line(const CommandLine& command_line);
