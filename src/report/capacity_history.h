// The pack's full-charged capacity across logs, against their dates: the first and the last known
// value of each log, so that wear shows over weeks of runs.
#pragma once

#include <cstdint>
#include <vector>

#include "report/log_summary.h"

struct CapacityPoint {
  int64_t clock_s = 0;  // the row's wall-clock time (calendar.h)
  int32_t full_mwh = 0;
  size_t report = 0;  // index into the reports given
  int line = 0;       // the row's line in its log
};

struct CapacityHistory {
  std::vector<CapacityPoint> points;  // oldest first
  int undated_logs = 0;               // logs with full-charged capacities but no date in their name
};

CapacityHistory capacity_history(const std::vector<LogReport>& reports);
