#include "lab/lab_command_line.h"

#include <charconv>
#include <string_view>

namespace {

constexpr uint64_t kLongestRunS = 366ull * 24 * 3600;
constexpr int kMostCycles = 100000;

std::optional<std::string_view> command_word(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (!argument.starts_with('-')) {
      return argument;
    }
  }
  return std::nullopt;
}

uint64_t unit_seconds(char unit) {
  switch (unit) {
    case 's':
      return 1;
    case 'm':
      return 60;
    case 'h':
      return 3600;
    case 'd':
      return 24 * 3600;
    default:
      return 0;
  }
}

}  // namespace

const char* const kLabUsage =
    "Unattended runs, without a terminal (over SSH, under nohup or systemd-run):\n"
    "  chargewright log [--duration TIME] [--simulate]\n"
    "      an S1 log as the panel's S1 / Save writes it: a row at the start, one a minute and one\n"
    "      at the end, each also printed here. Ends after TIME, on Ctrl+C or SIGTERM, or when the\n"
    "      battery goes. Exit 0 when the log was written to its end, 1 when it could not be.\n"
    "  chargewright sleep --cycles N --sleep TIME [--wait TIME] [--hibernate] [--simulate]\n"
    "      N sleep tests (hibernate tests), each as the panel's S3 (S4) button with the wake alarm\n"
    "      set to TIME: its own S3 (S4) log, and what the kernel says the machine did asleep (state,\n"
    "      time asleep, time in hardware sleep, wake source, failed suspends, battery drain), one\n"
    "      row a cycle in S3-<start>-cycles.tsv beside the logs and as a table at the end. Awake for\n"
    "      --wait between cycles (default 60s). Refuses to start when no wake alarm can be set or\n"
    "      logind would not sleep; ends with exit 1 when a suspend fails; Ctrl+C between cycles\n"
    "      ends the run with its summary.\n"
    "  TIME is a number with s, m, h or d, or a sum of them: 90m, 8h, 1h30m, 10s.\n"
    "  --simulate runs on the simulated laptop, whose sleeps last as long as their alarm (on its\n"
    "  battery a second asleep counts as a minute, so a short sleep shows a drain).\n";

bool names_lab_command(int argc, const char* const* argv) {
  const std::optional<std::string_view> word = command_word(argc, argv);
  return word == "log" || word == "sleep";
}

std::optional<uint64_t> parse_seconds(const std::string& text) {
  uint64_t total = 0;
  uint64_t number = 0;
  bool digits = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      number = number * 10 + static_cast<uint64_t>(c - '0');
      digits = true;
      if (number > kLongestRunS) {
        return std::nullopt;
      }
      continue;
    }
    const uint64_t unit = unit_seconds(c);
    if (unit == 0 || !digits) {
      return std::nullopt;
    }
    total += number * unit;
    number = 0;
    digits = false;
    if (total > kLongestRunS) {
      return std::nullopt;
    }
  }
  total += number;  // a bare number at the end counts in seconds
  if (text.empty() || total == 0 || total > kLongestRunS) {
    return std::nullopt;
  }
  return total;
}

LabCommand parse_lab_command(int argc, const char* const* argv) {
  LabCommand command;
  command.kind = command_word(argc, argv) == "sleep" ? LabCommand::Kind::sleep : LabCommand::Kind::log;
  const bool sleeps = command.kind == LabCommand::Kind::sleep;
  bool word_seen = false;
  bool cycles_given = false;
  bool sleep_given = false;
  const auto fail = [&](const std::string& why) {
    if (command.error.empty()) {
      command.error = why;
    }
  };
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool has_value = i + 1 < argc;
    const auto time_value = [&](std::optional<uint64_t>& into) {
      into = has_value ? parse_seconds(argv[++i]) : std::nullopt;
      if (!into) {
        fail(argument + " needs a time such as 90m, 8h or 10s");
      }
    };
    if (!argument.starts_with('-') && !word_seen) {
      word_seen = true;
    } else if (argument == "--help" || argument == "-h") {
      command.show_help = true;
    } else if (argument == "--simulate") {
      command.simulate = true;
    } else if (argument == "--duration" && !sleeps) {
      time_value(command.duration_s);
    } else if (argument == "--wait" && sleeps && has_value && std::string_view(argv[i + 1]) == "0") {
      command.wait_s = 0;  // straight on to the next cycle
      ++i;
    } else if ((argument == "--sleep" || argument == "--wait") && sleeps) {
      std::optional<uint64_t> seconds;
      time_value(seconds);
      (argument == "--sleep" ? command.sleep_s : command.wait_s) = seconds.value_or(0);
      sleep_given = sleep_given || (argument == "--sleep" && seconds);
    } else if (argument == "--cycles" && sleeps) {
      const std::string_view text = has_value ? argv[++i] : "";
      int cycles = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), cycles);
      if (error != std::errc() || end != text.data() + text.size() || cycles < 1 || cycles > kMostCycles) {
        fail("--cycles needs a number from 1 to 100000");
      } else {
        command.cycles = cycles;
        cycles_given = true;
      }
    } else if (argument == "--hibernate" && sleeps) {
      command.hibernate = true;
    } else {
      fail((argument.starts_with('-') ? "unknown option '" : "unexpected argument '") + argument + "'");
    }
  }
  if (sleeps && !command.show_help && command.error.empty() && (!cycles_given || !sleep_given)) {
    fail("sleep needs --cycles N and --sleep TIME");
  }
  return command;
}
