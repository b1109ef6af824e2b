// The figures testers take from a log: an S1 run's discharge and a sleep test's loss while asleep.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/log_reading.h"

// How an S1 log ends. Rows come every 59 one-second ticks; the Stop row comes at any moment in between,
// so a log whose last step is a whole minute was most likely left without one.
enum class S1Ending { stopped, no_stop_row, cut_off };

struct S1Summary {
  int rows = 0;
  int64_t duration_s = 0;
  std::optional<int32_t> start_remains, end_remains;  // first and last known values
  std::optional<int32_t> full;                        // the last known full-charged capacity
  std::optional<int64_t> energy_used_mwh;
  std::optional<double> average_rate_mw;
  std::optional<int32_t> lowest_rate_mw, highest_rate_mw;
  std::optional<double> average_drain_mw;      // energy used over the time between those values
  std::optional<double> percent_per_hour;      // that drain, of the full-charged capacity
  std::optional<int64_t> projected_runtime_s;  // full to empty at the average drain
  S1Ending ending = S1Ending::stopped;
};

enum class SleepOutcome { finished, no_resume_row, resume_reading_failed };

struct SleepSummary {
  SleepOutcome outcome = SleepOutcome::finished;
  int64_t asleep_s = 0;
  std::optional<int64_t> energy_lost_mwh;
  std::optional<double> average_drain_mw;
  std::optional<double> percent_per_hour;  // of the full-charged capacity
};

struct LogReport {
  ReadLog log;
  std::optional<S1Summary> s1;
  std::optional<SleepSummary> sleep;
  std::vector<std::string> notes;  // what a tester must know before trusting the figures
};

LogReport summarise(ReadLog log);

bool is_sleep_kind(ReportLogKind kind);

// Whole seconds, or nothing where the value is no number or does not fit 64 bits.
std::optional<int64_t> whole_seconds(double seconds);
