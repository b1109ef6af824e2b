#include "report/summary_table.h"

#include <cstdio>

#include "report/calendar.h"

namespace {

constexpr const char* kNoFigure = "n/a";
constexpr int kLabelWidth = 34;

const std::vector<SummaryColumn> kS1Columns = {
    {"Log", false},
    {"Kind", false},
    {"Start", false},
    {"End", false},
    {"Duration", true},
    {"Rows", true},
    {"Start remains (mWh)", true},
    {"End remains (mWh)", true},
    {"Energy used (mWh)", true},
    {"Average drain (mW)", true},
    {"Drain (% of full per hour)", true},
    {"Average rate (mW)", true},
    {"Lowest rate (mW)", true},
    {"Highest rate (mW)", true},
    {"Projected runtime", true},
    {"Ending", false},
    {"Notes", false},
};

const std::vector<SummaryColumn> kSleepColumns = {
    {"Log", false},
    {"Kind", false},
    {"Asleep from", false},
    {"Resumed at", false},
    {"Time asleep", true},
    {"Rows", true},
    {"Remains before (mWh)", true},
    {"Remains after (mWh)", true},
    {"Energy lost (mWh)", true},
    {"Average drain asleep (mW)", true},
    {"Drain asleep (% of full per hour)", true},
    {"Ending", false},
    {"Notes", false},
};

SummaryCell text_cell(std::string text) {
  return {std::move(text), 0, false};
}

SummaryCell number_cell(std::optional<double> value, int decimals) {
  if (!value.has_value()) {
    return text_cell(kNoFigure);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, *value);
  return {text, *value, true};
}

template <class T>
std::optional<double> as_double(const std::optional<T>& value) {
  return value.has_value() ? std::optional<double>(static_cast<double>(*value)) : std::nullopt;
}

SummaryCell duration_cell(std::optional<int64_t> seconds) {
  if (!seconds.has_value()) {
    return text_cell(kNoFigure);
  }
  return {duration_text(*seconds), static_cast<double>(*seconds), true};
}

SummaryCell clock_cell(const ReadLog& log, const LogRow* row) {
  return text_cell(row == nullptr ? kNoFigure : wall_clock_text(log, row->elapsed_s));
}

const char* s1_ending_text(S1Ending ending) {
  switch (ending) {
    case S1Ending::stopped:
      return "stopped";
    case S1Ending::no_stop_row:
      return "no Stop row";
    case S1Ending::cut_off:
      return "cut off";
  }
  return "";
}

const char* sleep_ending_text(SleepOutcome outcome) {
  switch (outcome) {
    case SleepOutcome::finished:
      return "resumed";
    case SleepOutcome::no_resume_row:
      return "no resume row";
    case SleepOutcome::resume_reading_failed:
      return "resume reading failed";
  }
  return "";
}

std::string joined_notes(const LogReport& report) {
  std::string notes;
  for (const std::string& note : report.notes) {
    notes += (notes.empty() ? "" : "; ") + note;
  }
  return notes;
}

void append_s1_cells(std::vector<SummaryCell>& cells, const LogReport& report) {
  const ReadLog& log = report.log;
  const S1Summary& s1 = *report.s1;
  const bool rows = !log.rows.empty();
  cells.push_back(clock_cell(log, rows ? &log.rows.back() : nullptr));
  cells.push_back(duration_cell(rows ? std::optional<int64_t>(s1.duration_s) : std::nullopt));
  cells.push_back(number_cell(s1.rows, 0));
  cells.push_back(number_cell(as_double(s1.start_remains), 0));
  cells.push_back(number_cell(as_double(s1.end_remains), 0));
  cells.push_back(number_cell(as_double(s1.energy_used_mwh), 0));
  cells.push_back(number_cell(s1.average_drain_mw, 0));
  cells.push_back(number_cell(s1.percent_per_hour, 2));
  cells.push_back(number_cell(s1.average_rate_mw, 0));
  cells.push_back(number_cell(as_double(s1.lowest_rate_mw), 0));
  cells.push_back(number_cell(as_double(s1.highest_rate_mw), 0));
  cells.push_back(duration_cell(s1.projected_runtime_s));
  cells.push_back(text_cell(ending_text(report)));
}

void append_sleep_cells(std::vector<SummaryCell>& cells, const LogReport& report) {
  const ReadLog& log = report.log;
  const SleepSummary& sleep = *report.sleep;
  const LogRow* after = log.rows.size() >= 2 ? &log.rows.back() : nullptr;
  // A failed reading's remaining capacity is no figure.
  const auto remains_of = [&](const LogRow* row) {
    const bool known = row != nullptr && row->remains_known() &&
                       !(row == after && sleep.outcome == SleepOutcome::resume_reading_failed);
    return known ? std::optional<double>(row->remains) : std::nullopt;
  };
  cells.push_back(clock_cell(log, after));
  cells.push_back(duration_cell(after != nullptr ? std::optional<int64_t>(sleep.asleep_s) : std::nullopt));
  cells.push_back(number_cell(static_cast<double>(log.rows.size()), 0));
  cells.push_back(number_cell(remains_of(log.rows.empty() ? nullptr : &log.rows.front()), 0));
  cells.push_back(number_cell(remains_of(after), 0));
  cells.push_back(number_cell(as_double(sleep.energy_lost_mwh), 0));
  cells.push_back(number_cell(sleep.average_drain_mw, 0));
  cells.push_back(number_cell(sleep.percent_per_hour, 2));
  cells.push_back(text_cell(ending_text(report)));
}

}  // namespace

ReportFamily family_of(const LogReport& report) {
  return report.sleep.has_value() ? ReportFamily::sleep_tests : ReportFamily::s1_runs;
}

const char* family_heading(ReportFamily family) {
  return family == ReportFamily::s1_runs ? "S1 runs" : "Sleep and hibernate tests";
}

const std::vector<SummaryColumn>& summary_columns(ReportFamily family) {
  return family == ReportFamily::s1_runs ? kS1Columns : kSleepColumns;
}

const char* ending_text(const LogReport& report) {
  return report.s1.has_value() ? s1_ending_text(report.s1->ending) : sleep_ending_text(report.sleep->outcome);
}

const char* kind_name(ReportLogKind kind) {
  switch (kind) {
    case ReportLogKind::s1:
      return "S1";
    case ReportLogKind::s3:
      return "S3";
    case ReportLogKind::s4:
      return "S4";
    case ReportLogKind::sleep:
      return "S3/S4";
  }
  return "";
}

std::string duration_text(int64_t seconds) {
  // Unsigned, so that the most negative value has a magnitude too.
  const uint64_t magnitude =
      seconds < 0 ? 0 - static_cast<uint64_t>(seconds) : static_cast<uint64_t>(seconds);
  const uint64_t days = magnitude / 86400;
  char text[64];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(magnitude % 86400 / 3600),
                static_cast<int>(magnitude % 3600 / 60), static_cast<int>(magnitude % 60));
  return (seconds < 0 ? "-" : "") + (days > 0 ? std::to_string(days) + " d " : "") + text;
}

std::string wall_clock_text(const ReadLog& log, int64_t elapsed_s) {
  const int64_t seconds = wall_clock_seconds(log, elapsed_s);
  const int64_t day = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const int64_t of_day = seconds - day * 86400;
  char text[64];
  if (log.start_date.known()) {
    const CalendarDate date = civil_from_days(day);
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year, date.month, date.day,
                  static_cast<int>(of_day / 3600), static_cast<int>(of_day % 3600 / 60),
                  static_cast<int>(of_day % 60));
  } else {
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(of_day / 3600),
                  static_cast<int>(of_day % 3600 / 60), static_cast<int>(of_day % 60));
  }
  return text;
}

std::vector<SummaryCell> summary_cells(const LogReport& report) {
  const ReadLog& log = report.log;
  std::vector<SummaryCell> cells;
  cells.push_back(text_cell(log.name));
  cells.push_back(text_cell(kind_name(log.kind)));
  cells.push_back(text_cell(log.rows.empty() ? kNoFigure : wall_clock_text(log, 0)));
  if (family_of(report) == ReportFamily::s1_runs) {
    append_s1_cells(cells, report);
  } else {
    append_sleep_cells(cells, report);
  }
  cells.push_back(text_cell(joined_notes(report)));
  return cells;
}

std::string text_summary(const std::vector<LogReport>& reports) {
  std::string text;
  for (const LogReport& report : reports) {
    const std::vector<SummaryColumn>& columns = summary_columns(family_of(report));
    const std::vector<SummaryCell> cells = summary_cells(report);
    text += cells[0].text + "\n";
    for (size_t i = 1; i + 1 < cells.size(); ++i) {
      char line[512];
      std::snprintf(line, sizeof line, "  %-*s %s\n", kLabelWidth, columns[i].title, cells[i].text.c_str());
      text += line;
    }
    for (const std::string& note : report.notes) {
      text += "  Note: " + note + "\n";
    }
    text += "\n";
  }
  return text;
}
