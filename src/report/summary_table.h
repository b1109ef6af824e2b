// The summary of every log as tables, one per family of logs with the words of its own figures:
// the page shows them, the console prints the same texts under the same labels.
#pragma once

#include <string>
#include <vector>

#include "report/log_summary.h"

enum class ReportFamily { s1_runs, sleep_tests };
constexpr ReportFamily kReportFamilies[] = {ReportFamily::s1_runs, ReportFamily::sleep_tests};

struct SummaryColumn {
  const char* title;  // with its unit
  bool numeric;       // sorted by value, aligned right
};

struct SummaryCell {
  std::string text;  // "n/a" where the log gives no figure
  double value = 0;  // the sort key of a numeric cell
  bool has_value = false;
};

ReportFamily family_of(const LogReport& report);
const char* family_heading(ReportFamily family);
// The first column names the log and the last holds its notes; those between are its figures.
const std::vector<SummaryColumn>& summary_columns(ReportFamily family);
// One cell per column of the report's family.
std::vector<SummaryCell> summary_cells(const LogReport& report);

const char* kind_name(ReportLogKind kind);
// How the run or the test ended: "stopped", "no Stop row", "resumed", "no resume row" ...
const char* ending_text(const LogReport& report);
// "[-][N d ]HH:MM:SS".
std::string duration_text(int64_t seconds);
// "2026-12-01 22:30:00", or the time alone when the date is unknown; `elapsed_s` after the first row.
std::string wall_clock_text(const ReadLog& log, int64_t elapsed_s);
// The console's summary: per log, one line per figure, then its notes.
std::string text_summary(const std::vector<LogReport>& reports);
