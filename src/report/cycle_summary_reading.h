// Reading the cycle summary of an unattended sleep run (logs/cycle_summary_columns.h): one row per
// cycle, with what the kernel said the machine did asleep and what the battery lost. A run stopped
// half-way, a file cut while it was written or saved again with CR LF still reads up to what is whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/log_reading.h"

// Below this share of hardware sleep a cycle is marked: the machine did not stay in its low-power state.
constexpr int64_t kLowHwSleepTenths = 900;

struct CycleRow {
  int line = 0;
  int cycle = 0;
  std::string log;
  std::string state;  // empty: unknown
  std::optional<int64_t> asleep_ms, hw_sleep_ms, hw_share_tenths;
  bool hw_unreliable = false;  // the sleep outlasted the counter
  std::string wake_source;     // empty: unknown
  std::string suspend;         // "ok", "failed", or empty: unknown
  std::string failed_step, failed_device;
  std::optional<int64_t> lost_mwh, drain_mw, drain_share_hundredths;

  bool failed() const { return suspend == "failed"; }
  // A reliable share of hardware sleep below 90 %.
  bool low_hw_sleep() const {
    return hw_share_tenths && !hw_unreliable && *hw_share_tenths < kLowHwSleepTenths;
  }
  bool marked() const { return failed() || low_hw_sleep(); }
};

struct CycleRun {
  std::string name;  // as the user gave it, UTF-8
  bool is_summary = false;
  std::vector<CycleRow> rows;
  std::vector<LogProblem> problems;
};

// "S3-09h05m03s-2012y07m04d-cycles.tsv" and its like, in any case.
bool looks_like_cycle_summary_name(std::string_view name);
// Never fails: what cannot be read is in `problems`.
CycleRun read_cycle_summary(std::string_view name, std::string_view bytes);

// "600.123" with three decimals as 600123; none for anything else.
std::optional<int64_t> parse_fixed(std::string_view text, int decimals);
