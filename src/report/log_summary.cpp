#include "report/log_summary.h"

#include <algorithm>

namespace {

constexpr double kSecondsPerHour = 3600.0;
// Steps of 59 ticks, with a little room for a late timer.
constexpr int64_t kMinuteStepLow = 58, kMinuteStepHigh = 62;

std::string count_text(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

const LogRow* first_with_capacities(const std::vector<LogRow>& rows) {
  const auto found =
      std::find_if(rows.begin(), rows.end(), [](const LogRow& r) { return r.capacities_known(); });
  return found == rows.end() ? nullptr : &*found;
}

const LogRow* last_with_capacities(const std::vector<LogRow>& rows) {
  const auto found =
      std::find_if(rows.rbegin(), rows.rend(), [](const LogRow& r) { return r.capacities_known(); });
  return found == rows.rend() ? nullptr : &*found;
}

void note_row_marks(LogReport& report) {
  int unknown_life = 0, unknown_values = 0, rising = 0;
  const std::vector<LogRow>& rows = report.log.rows;
  for (size_t i = 0; i < rows.size(); ++i) {
    unknown_life += rows[i].life_known ? 0 : 1;
    unknown_values += rows[i].capacities_known() && rows[i].rate_known() ? 0 : 1;
    rising += diff_known(rows, i) && rows[i].diff > 0 ? 1 : 0;
  }
  if (unknown_life > 0) {
    report.notes.push_back(count_text(unknown_life, "row has", "rows have") + " no life percentage (N/A)");
  }
  if (unknown_values > 0) {
    report.notes.push_back(count_text(unknown_values, "row has", "rows have") +
                           " unknown capacities or rate; left out of the figures");
  }
  if (rising > 0) {
    report.notes.push_back(count_text(rising, "row has", "rows have") +
                           " a positive Diff: the charge rose (charging, or the gauge corrected itself)");
  }
}

void note_file_marks(LogReport& report) {
  const ReadLog& log = report.log;
  if (log.line_ends == LineEnds::lf) {
    report.notes.push_back("saved again with LF line ends (the panels write CR LF)");
  } else if (log.line_ends == LineEnds::mixed) {
    report.notes.push_back("mixed CR LF and LF line ends: edited after it was written");
  }
  if (!log.problems.empty()) {
    report.notes.push_back(count_text(static_cast<int>(log.problems.size()), "line", "lines") +
                           " could not be read (line " + std::to_string(log.problems.front().line) +
                           (log.problems.size() > 1 ? " and others)" : ")"));
  }
  if (log.rows.empty()) {
    report.notes.push_back("no rows");
  }
}

S1Summary summarise_s1(LogReport& report) {
  const std::vector<LogRow>& rows = report.log.rows;
  S1Summary s1;
  s1.rows = static_cast<int>(rows.size());
  if (rows.empty()) {
    s1.ending = S1Ending::no_stop_row;
    return s1;
  }
  s1.duration_s = rows.back().elapsed_s - rows.front().elapsed_s;
  const LogRow* first = first_with_capacities(rows);
  const LogRow* last = last_with_capacities(rows);
  if (first != nullptr) {
    s1.start_remains = first->remains;
    s1.end_remains = last->remains;
    s1.full = last->full;
    s1.energy_used_mwh = static_cast<int64_t>(first->remains) - last->remains;
    const int64_t measured_s = last->elapsed_s - first->elapsed_s;
    if (measured_s > 0) {
      s1.average_drain_mw =
          static_cast<double>(*s1.energy_used_mwh) * kSecondsPerHour / static_cast<double>(measured_s);
      if (*s1.average_drain_mw > 0) {
        s1.projected_runtime_s =
            static_cast<int64_t>(*s1.full / *s1.average_drain_mw * kSecondsPerHour + 0.5);
      }
    }
  }
  double rate_sum = 0;
  int rate_count = 0;
  for (const LogRow& row : rows) {
    if (!row.rate_known()) {
      continue;
    }
    rate_sum += row.rate;
    ++rate_count;
    s1.lowest_rate_mw = std::min(s1.lowest_rate_mw.value_or(row.rate), row.rate);
    s1.highest_rate_mw = std::max(s1.highest_rate_mw.value_or(row.rate), row.rate);
  }
  if (rate_count > 0) {
    s1.average_rate_mw = rate_sum / rate_count;
  }

  // The Item column counts every row the session wrote: a jump means rows are missing.
  for (size_t i = 1; i < rows.size(); ++i) {
    if (rows[i].item != rows[i - 1].item + 1) {
      report.notes.push_back("items jump from " + std::to_string(rows[i - 1].item) + " to " +
                             std::to_string(rows[i].item) + " at line " + std::to_string(rows[i].line) +
                             ": rows are missing");
      break;
    }
  }
  if (report.log.cut_mid_line && !report.log.problems.empty() &&
      report.log.problems.back().line > rows.back().line) {
    s1.ending = S1Ending::cut_off;
    report.notes.push_back("the log is cut off in its last row: the session did not end with Stop");
  } else {
    const int64_t last_step = rows.size() >= 2 ? rows.back().elapsed_s - rows[rows.size() - 2].elapsed_s : 0;
    if (rows.size() < 2 || (last_step >= kMinuteStepLow && last_step <= kMinuteStepHigh)) {
      s1.ending = S1Ending::no_stop_row;
      report.notes.push_back(
          "no Stop row (most likely): the log ends a whole minute after its previous row, as when the "
          "program was closed during the session");
    }
  }
  if (s1.lowest_rate_mw.has_value() && *s1.highest_rate_mw > 0) {
    report.notes.push_back("the battery charged during the run (positive rates): the drain figures are net");
  }
  return s1;
}

bool resume_reading_failed(const LogRow& row) {
  return row.full == 0 && row.remains == 0 && row.rate == 0;
}

SleepSummary summarise_sleep(LogReport& report) {
  const std::vector<LogRow>& rows = report.log.rows;
  SleepSummary sleep;
  if (rows.size() < 2) {
    sleep.outcome = SleepOutcome::no_resume_row;
    report.notes.push_back(
        "no after-resume row: the machine did not come back to the panel, or the program was closed");
    return sleep;
  }
  if (rows.size() > 2) {
    report.notes.push_back("more than two rows: the first and the last are compared");
  }
  const LogRow& before = rows.front();
  const LogRow& after = rows.back();
  sleep.asleep_s = after.elapsed_s - before.elapsed_s;
  if (resume_reading_failed(after)) {
    sleep.outcome = SleepOutcome::resume_reading_failed;
    report.notes.push_back("the battery could not be read after the resume (the row is all zero)");
    return sleep;
  }
  if (!before.capacities_known() || !after.capacities_known()) {
    return sleep;
  }
  sleep.energy_lost_mwh = static_cast<int64_t>(before.remains) - after.remains;
  if (sleep.asleep_s > 0) {
    const double hours = static_cast<double>(sleep.asleep_s) / kSecondsPerHour;
    sleep.average_drain_mw = static_cast<double>(*sleep.energy_lost_mwh) / hours;
    sleep.percent_per_hour = *sleep.average_drain_mw * 100.0 / before.full;
  }
  return sleep;
}

}  // namespace

bool is_sleep_kind(ReportLogKind kind) {
  return kind != ReportLogKind::s1;
}

LogReport summarise(ReadLog log) {
  LogReport report;
  report.log = std::move(log);
  if (!report.log.is_log) {
    return report;
  }
  note_file_marks(report);
  if (is_sleep_kind(report.log.kind)) {
    report.sleep = summarise_sleep(report);
  } else {
    report.s1 = summarise_s1(report);
  }
  note_row_marks(report);
  return report;
}
