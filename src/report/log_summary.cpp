#include "report/log_summary.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSecondsPerHour = 3600.0;
// Steps of 59 ticks, with a little room for a late timer.
constexpr int64_t kMinuteStepLow = 58, kMinuteStepHigh = 62;
// 2^63: the first double past the largest 64-bit integer.
constexpr double kInt64Bound = 9223372036854775808.0;

std::string count_text(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

template <class Known>
const LogRow* first_row(const std::vector<LogRow>& rows, Known known) {
  const auto found = std::find_if(rows.begin(), rows.end(), known);
  return found == rows.end() ? nullptr : &*found;
}

template <class Known>
const LogRow* last_row(const std::vector<LogRow>& rows, Known known) {
  const auto found = std::find_if(rows.rbegin(), rows.rend(), known);
  return found == rows.rend() ? nullptr : &*found;
}

const auto remains_known = [](const LogRow& row) { return row.remains_known(); };
const auto full_known = [](const LogRow& row) { return row.full_known(); };

std::optional<double> percent_of(std::optional<double> drain_mw, std::optional<int32_t> full) {
  if (!drain_mw.has_value() || !full.has_value()) {
    return std::nullopt;
  }
  return *drain_mw * 100.0 / *full;
}

void note_row_marks(LogReport& report) {
  int no_full = 0, unknown_remains = 0, unknown_rate = 0, rising = 0;
  const std::vector<LogRow>& rows = report.log.rows;
  // A failed reading after a resume has a note of its own.
  const bool failed_last =
      report.sleep.has_value() && report.sleep->outcome == SleepOutcome::resume_reading_failed;
  const size_t counted = failed_last ? rows.size() - 1 : rows.size();
  for (size_t i = 0; i < counted; ++i) {
    no_full += rows[i].full_known() ? 0 : 1;
    unknown_remains += rows[i].remains_known() ? 0 : 1;
    unknown_rate += rows[i].rate_known() ? 0 : 1;
    rising += diff_known(rows, i) && rows[i].diff > 0 ? 1 : 0;
  }
  if (no_full > 0) {
    report.notes.push_back(count_text(no_full, "row has", "rows have") +
                           " no full-charged capacity (0 or unknown): no life percentage, and no % of full "
                           "from those rows");
  }
  if (unknown_remains > 0) {
    report.notes.push_back(count_text(unknown_remains, "row has", "rows have") +
                           " an unknown remaining capacity (printed negative); left out of the figures");
  }
  if (unknown_rate > 0) {
    report.notes.push_back(count_text(unknown_rate, "row has", "rows have") +
                           " an unknown rate; left out of the rate figures");
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

void summarise_drain(S1Summary& s1, const std::vector<LogRow>& rows) {
  const LogRow* first = first_row(rows, remains_known);
  const LogRow* last = last_row(rows, remains_known);
  if (const LogRow* full = last_row(rows, full_known)) {
    s1.full = full->full;
  }
  if (first == nullptr) {
    return;
  }
  s1.start_remains = first->remains;
  s1.end_remains = last->remains;
  s1.energy_used_mwh = static_cast<int64_t>(first->remains) - last->remains;
  const int64_t measured_s = last->elapsed_s - first->elapsed_s;
  if (measured_s <= 0) {
    return;
  }
  s1.average_drain_mw =
      static_cast<double>(*s1.energy_used_mwh) * kSecondsPerHour / static_cast<double>(measured_s);
  s1.percent_per_hour = percent_of(s1.average_drain_mw, s1.full);
  if (s1.full.has_value() && *s1.average_drain_mw > 0) {
    s1.projected_runtime_s = whole_seconds(*s1.full / *s1.average_drain_mw * kSecondsPerHour);
  }
}

void summarise_rates(S1Summary& s1, const std::vector<LogRow>& rows) {
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
  summarise_drain(s1, rows);
  summarise_rates(s1, rows);

  // The Item column counts every row the session wrote: a jump means rows are missing.
  for (size_t i = 1; i < rows.size(); ++i) {
    if (int64_t{rows[i].item} != int64_t{rows[i - 1].item} + 1) {
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
  if (!before.remains_known() || !after.remains_known()) {
    return sleep;
  }
  sleep.energy_lost_mwh = static_cast<int64_t>(before.remains) - after.remains;
  if (sleep.asleep_s > 0) {
    const double hours = static_cast<double>(sleep.asleep_s) / kSecondsPerHour;
    sleep.average_drain_mw = static_cast<double>(*sleep.energy_lost_mwh) / hours;
    const LogRow* full = before.full_known() ? &before : after.full_known() ? &after : nullptr;
    sleep.percent_per_hour =
        percent_of(sleep.average_drain_mw, full != nullptr ? std::optional(full->full) : std::nullopt);
  }
  return sleep;
}

}  // namespace

bool is_sleep_kind(ReportLogKind kind) {
  return kind != ReportLogKind::s1;
}

std::optional<int64_t> whole_seconds(double seconds) {
  const double rounded = std::round(seconds);
  if (!std::isfinite(rounded) || rounded >= kInt64Bound || rounded < -kInt64Bound) {
    return std::nullopt;
  }
  return static_cast<int64_t>(rounded);
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
