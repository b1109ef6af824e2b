// Reading one test log as the panels write it: the header names the kind, each row its reading.
// A new kind of input file gets a header of its own in log_reading.cpp's table of headers, its own
// summary beside S1Summary and SleepSummary (log_summary.h), and its own family of columns
// (summary_table.h); the page and the console then show it beside the others.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class ReportLogKind { s1, s3, s4, sleep };  // sleep: an S3 or S4 header in a file named neither way

enum class LineEnds { crlf, lf, mixed };

struct LogRow {
  int line = 0;      // in the file, from 1
  int32_t item = 0;  // S1 only
  int32_t seconds_of_day = 0;
  int64_t elapsed_s = 0;  // since the first row, counting a day on at each midnight
  // The printed percentage, only where both capacities it was computed from are known.
  bool life_known = false;
  double life_percent = 0.0;
  // As printed. A capacity printed negative is the driver's unknown value (2^31 and above); a
  // full-charged capacity of 0 is one the driver did not report (the panel prints N/A then).
  int32_t full = 0, remains = 0, rate = 0, diff = 0;
  bool full_known() const { return full > 0; }
  bool remains_known() const { return remains >= 0; }
  bool rate_known() const { return rate != INT32_MIN; }
};

// A Diff is the change of the remaining capacity from the row before: it means something only where
// both rows' remaining capacities are known, or, on the first row, where its own is.
inline bool diff_known(const std::vector<LogRow>& rows, size_t index) {
  return rows[index].remains_known() && (index == 0 || rows[index - 1].remains_known());
}

struct LogProblem {
  int line = 0;  // 0: about the whole file
  std::string text;
};

struct CalendarDate {
  int year = 0, month = 0, day = 0;  // 0: unknown
  bool known() const { return year != 0; }
};

struct ReadLog {
  std::string name;  // as the user gave it, UTF-8, control characters escaped (shown_text)
  bool is_log = false;
  ReportLogKind kind = ReportLogKind::s1;
  CalendarDate start_date;           // from the file name, when it has the panels' form
  int32_t name_seconds_of_day = -1;  // the time in that name; -1 when it has none
  std::vector<LogRow> rows;
  std::vector<LogProblem> problems;  // rows that could not be read, or why the file is no log
  LineEnds line_ends = LineEnds::crlf;
  bool cut_mid_line = false;  // the last line has no line end: the file was cut while it was written
};

// `bytes` in the ANSI code page. Never fails: what cannot be read is in `problems`.
ReadLog read_log(std::string_view name, std::string_view bytes);

// The last path component, after '/' or '\'.
std::string_view base_name(std::string_view path);
