#include "report/summary_table.h"

#include <cstdio>

#include "report/calendar.h"

namespace {

constexpr const char* kNoFigure = "n/a";
constexpr size_t kFirstS1OnlyColumn = 10;

const std::vector<SummaryColumn> kColumns = {
    {"Log", false},
    {"Kind", false},
    {"Start", false},
    {"Duration", false},
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

std::optional<double> percent_of_full(std::optional<double> drain_mw, std::optional<int32_t> full) {
  if (!drain_mw.has_value() || !full.has_value() || *full <= 0) {
    return std::nullopt;
  }
  return *drain_mw * 100.0 / *full;
}

const char* ending_text(const LogReport& report) {
  if (report.s1.has_value()) {
    switch (report.s1->ending) {
      case S1Ending::stopped:
        return "stopped";
      case S1Ending::no_stop_row:
        return "no Stop row";
      case S1Ending::cut_off:
        return "cut off";
    }
  }
  switch (report.sleep->outcome) {
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

}  // namespace

const std::vector<SummaryColumn>& summary_columns() {
  return kColumns;
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
  const bool negative = seconds < 0;
  const int64_t magnitude = negative ? -seconds : seconds;
  const int64_t days = magnitude / 86400;
  char text[64];
  std::snprintf(text, sizeof text, "%s%02d:%02d:%02d", negative ? "-" : "",
                static_cast<int>(magnitude % 86400 / 3600), static_cast<int>(magnitude % 3600 / 60),
                static_cast<int>(magnitude % 60));
  return days > 0 ? std::to_string(days) + " d " + text : text;
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
  if (report.s1.has_value()) {
    const S1Summary& s1 = *report.s1;
    cells.push_back(duration_cell(s1.rows > 0 ? std::optional<int64_t>(s1.duration_s) : std::nullopt));
    cells.push_back(number_cell(s1.rows, 0));
    cells.push_back(number_cell(as_double(s1.start_remains), 0));
    cells.push_back(number_cell(as_double(s1.end_remains), 0));
    cells.push_back(number_cell(as_double(s1.energy_used_mwh), 0));
    cells.push_back(number_cell(s1.average_drain_mw, 0));
    cells.push_back(number_cell(percent_of_full(s1.average_drain_mw, s1.full), 2));
    cells.push_back(number_cell(s1.average_rate_mw, 0));
    cells.push_back(number_cell(as_double(s1.lowest_rate_mw), 0));
    cells.push_back(number_cell(as_double(s1.highest_rate_mw), 0));
    cells.push_back(duration_cell(s1.projected_runtime_s));
  } else {
    const SleepSummary& sleep = *report.sleep;
    const bool two_rows = log.rows.size() >= 2;
    cells.push_back(duration_cell(two_rows ? std::optional<int64_t>(sleep.asleep_s) : std::nullopt));
    cells.push_back(number_cell(static_cast<double>(log.rows.size()), 0));
    // A failed reading's remaining capacity is no figure.
    const auto remains_of = [](const LogRow& row) {
      return row.capacities_known() ? as_double(std::optional(row.remains)) : std::nullopt;
    };
    cells.push_back(number_cell(log.rows.empty() ? std::nullopt : remains_of(log.rows.front()), 0));
    cells.push_back(number_cell(two_rows ? remains_of(log.rows.back()) : std::nullopt, 0));
    cells.push_back(number_cell(as_double(sleep.energy_lost_mwh), 0));
    cells.push_back(number_cell(sleep.average_drain_mw, 0));
    cells.push_back(number_cell(sleep.percent_per_hour, 2));
    for (int i = 0; i < 4; ++i) {
      cells.push_back(text_cell(kNoFigure));  // rates and runtime belong to S1 runs
    }
  }
  cells.push_back(text_cell(ending_text(report)));
  cells.push_back(text_cell(joined_notes(report)));
  return cells;
}

std::string text_summary(const std::vector<LogReport>& reports) {
  std::string text;
  for (const LogReport& report : reports) {
    const std::vector<SummaryCell> cells = summary_cells(report);
    text += cells[0].text + "\n";
    for (size_t i = 1; i + 1 < cells.size(); ++i) {
      if (report.sleep.has_value() && cells[i].text == kNoFigure && i >= kFirstS1OnlyColumn) {
        continue;  // rates and runtime belong to S1 runs
      }
      char line[512];
      std::snprintf(line, sizeof line, "  %-28s %s\n", kColumns[i].title, cells[i].text.c_str());
      text += line;
    }
    for (const std::string& note : report.notes) {
      text += "  Note: " + note + "\n";
    }
    text += "\n";
  }
  return text;
}
