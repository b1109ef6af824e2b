// The command lines of the unattended runs: `chargewright log` and `chargewright sleep`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct LabCommand {
  enum class Kind { log, sleep } kind = Kind::log;
  bool simulate = false;
  bool show_help = false;
  std::string error;  // why the command line was not understood; empty when it was
  // log
  std::optional<uint64_t> duration_s;  // none: until a signal or the battery goes
  // sleep
  int cycles = 0;
  uint64_t sleep_s = 0;
  uint64_t wait_s = 60;
  bool hibernate = false;
};

// Whether the first argument that is not an option names an unattended run.
bool names_lab_command(int argc, const char* const* argv);
LabCommand parse_lab_command(int argc, const char* const* argv);

// "90m", "8h", "1h30m", "3s", "2d", or plain seconds; nothing for 0, a malformed text or more than a year.
std::optional<uint64_t> parse_seconds(const std::string& text);

// What --help says of the two commands.
extern const char* const kLabUsage;
