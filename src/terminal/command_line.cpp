#include "terminal/command_line.h"

#include <cstdio>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "Usage: chargewright [--help | --version]\n"
    "The Chargewright battery panel on a simulated laptop, in the terminal.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n";

}  // namespace

CommandLine parse_command_line(int argc, const char* const* argv) {
  CommandLine result;
  bool options_ended = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (options_ended || !argument.starts_with('-')) {
      return {CommandLine::Action::reject, std::string(argument)};
    }
    if (argument == "--") {
      options_ended = true;
    } else if (argument == "--help" || argument == "-h") {
      result.action = CommandLine::Action::show_help;
    } else if (argument == "--version") {
      result.action = CommandLine::Action::show_version;
    } else {
      return {CommandLine::Action::reject, std::string(argument)};
    }
  }
  return result;
}

int answer_command_line(const CommandLine& command_line) {
  switch (command_line.action) {
    case CommandLine::Action::show_help:
      std::fputs(kUsage, stdout);
      return 0;
    case CommandLine::Action::show_version:
      std::puts("chargewright " CHARGEWRIGHT_VERSION);
      return 0;
    case CommandLine::Action::reject: {
      const bool option = command_line.rejected.starts_with('-');
      std::fprintf(stderr, "chargewright: %s '%s'\n", option ? "unknown option" : "unexpected argument",
                   command_line.rejected.c_str());
      std::fputs(kUsage, stderr);
      return 2;
    }
    case CommandLine::Action::run:
      break;
  }
  return 0;
}
