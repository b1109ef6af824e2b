#include "terminal/command_line.h"

#include <cstdio>
#include <string_view>

#include "lab/lab_command_line.h"

namespace {

constexpr const char* kUsage =
    "Usage: chargewright [--simulate] [--help | --version]\n"
    "       chargewright log [--duration TIME] [--simulate]\n"
    "       chargewright sleep --cycles N --sleep TIME [--wait TIME] [--hibernate] [--simulate]\n"
    "The Chargewright battery panel, in the terminal. It runs on this machine's own battery, AC\n"
    "adapter and devices where /sys/class/power_supply has a system battery (a supply of type\n"
    "Battery, not one of scope Device such as a mouse), and on a simulated laptop where it has none.\n"
    "\n"
    "      --simulate  run on the simulated laptop even where the machine has a battery\n"
    "  -h, --help      show this help and exit\n"
    "      --version   show the version and exit\n";

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
    } else if (argument == "--simulate") {
      result.simulate = true;
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
      std::fputs("\n", stdout);
      std::fputs(kLabUsage, stdout);
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
