#include "report/capacity_history.h"

#include <algorithm>

#include "report/calendar.h"

CapacityHistory capacity_history(const std::vector<LogReport>& reports) {
  CapacityHistory history;
  for (size_t i = 0; i < reports.size(); ++i) {
    const ReadLog& log = reports[i].log;
    const auto known = [](const LogRow& row) { return row.full_known(); };
    const auto first = std::find_if(log.rows.begin(), log.rows.end(), known);
    if (first == log.rows.end()) {
      continue;
    }
    if (!log.start_date.known()) {
      ++history.undated_logs;
      continue;
    }
    const LogRow& last = *std::find_if(log.rows.rbegin(), log.rows.rend(), known);
    const auto add = [&](const LogRow& row) {
      history.points.push_back({wall_clock_seconds(log, row.elapsed_s), row.full, i, row.line});
    };
    add(*first);
    if (&last != &*first) {
      add(last);
    }
  }
  std::stable_sort(history.points.begin(), history.points.end(),
                   [](const CapacityPoint& a, const CapacityPoint& b) { return a.clock_s < b.clock_s; });
  return history;
}
