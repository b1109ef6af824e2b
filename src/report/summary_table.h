// The summary of every log as one table: the page shows it, the console prints the same texts.
#pragma once

#include <string>
#include <vector>

#include "report/log_summary.h"

struct SummaryColumn {
  const char* title;  // with its unit
  bool numeric;       // sorted by value, aligned right
};

struct SummaryCell {
  std::string text;  // "n/a" where the log gives no figure
  double value = 0;  // the sort key of a numeric cell
  bool has_value = false;
};

const std::vector<SummaryColumn>& summary_columns();
std::vector<SummaryCell> summary_cells(const LogReport& report);

const char* kind_name(ReportLogKind kind);
// "[N d ]HH:MM:SS".
std::string duration_text(int64_t seconds);
// "2026-12-01 22:30:00", or the time alone when the date is unknown; `elapsed_s` after the first row.
std::string wall_clock_text(const ReadLog& log, int64_t elapsed_s);
// The console's summary: per log, one line per column.
std::string text_summary(const std::vector<LogReport>& reports);
