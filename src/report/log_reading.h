// Reading one test log as the panels write it: the header names the kind, each row its reading.
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
  bool life_known = false;
  double life_percent = 0.0;
  // As printed. A capacity printed negative is the driver's unknown value (2^31 and above).
  int32_t full = 0, remains = 0, rate = 0, diff = 0;
  bool capacities_known() const { return full > 0 && remains >= 0; }
  bool rate_known() const { return rate != INT32_MIN; }
};

// A Diff is the change of the remaining capacity from the row before: it means something only where
// both rows' remaining capacities are known, or, on the first row, where its own is.
inline bool diff_known(const std::vector<LogRow>& rows, size_t index) {
  return rows[index].remains >= 0 && (index == 0 || rows[index - 1].remains >= 0);
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
  std::string name;  // as the user gave it, UTF-8
  bool is_log = false;
  ReportLogKind kind = ReportLogKind::s1;
  CalendarDate start_date;  // from the file name, when it has the panels' form
  std::vector<LogRow> rows;
  std::vector<LogProblem> problems;  // rows that could not be read, or why the file is no log
  LineEnds line_ends = LineEnds::crlf;
  bool cut_mid_line = false;  // the last line has no line end: the file was cut while it was written
};

// `bytes` in the ANSI code page. Never fails: what cannot be read is in `problems`.
ReadLog read_log(std::string_view name, std::string_view bytes);

// The last path component, after '/' or '\'.
std::string_view base_name(std::string_view path);
