#include "report/cycle_summary_reading.h"

#include <charconv>
#include <initializer_list>

#include "logs/cycle_summary_columns.h"

namespace {

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool same_letters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) {
      return false;
    }
  }
  return true;
}

std::vector<std::string_view> split_tabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) {
      return fields;
    }
    line.remove_prefix(tab + 1);
  }
}

std::string known_text(std::string_view field) {
  return field == kCycleSummaryUnknown || field == kCycleSummaryNotApplicable ? std::string()
                                                                              : std::string(field);
}

// A figure or "unknown"; false for anything else.
bool read_figure(std::string_view field, int decimals, std::optional<int64_t>& value) {
  if (field == kCycleSummaryUnknown) {
    value.reset();
    return true;
  }
  value = parse_fixed(field, decimals);
  return value.has_value();
}

bool read_row(const std::vector<std::string_view>& fields, CycleRow& row) {
  const std::string_view cycle = fields[kCycleColumn];
  const auto [end, error] = std::from_chars(cycle.data(), cycle.data() + cycle.size(), row.cycle);
  if (error != std::errc() || end != cycle.data() + cycle.size() || row.cycle < 1) {
    return false;
  }
  row.log = std::string(fields[kLogColumn]);
  row.state = known_text(fields[kStateColumn]);
  row.hw_unreliable = fields[kHwSleepWrappedColumn] == "yes";
  row.wake_source = known_text(fields[kWakeSourceColumn]);
  row.suspend = known_text(fields[kSuspendColumn]);
  row.failed_step = known_text(fields[kFailedStepColumn]);
  row.failed_device = known_text(fields[kFailedDeviceColumn]);
  return read_figure(fields[kAsleepColumn], 3, row.asleep_ms) &&
         read_figure(fields[kHwSleepColumn], 3, row.hw_sleep_ms) &&
         read_figure(fields[kHwSleepShareColumn], 1, row.hw_share_tenths) &&
         read_figure(fields[kLostColumn], 0, row.lost_mwh) &&
         read_figure(fields[kDrainColumn], 0, row.drain_mw) &&
         read_figure(fields[kDrainShareColumn], 2, row.drain_share_hundredths);
}

}  // namespace

std::optional<int64_t> parse_fixed(std::string_view text, int decimals) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) {
    text.remove_prefix(1);
  }
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() || whole.size() > 12 || static_cast<int>(fraction.size()) != decimals ||
      (decimals == 0 && point != std::string_view::npos)) {
    return std::nullopt;
  }
  int64_t value = 0;
  for (std::string_view digits : {whole, fraction}) {
    for (char c : digits) {
      if (c < '0' || c > '9') {
        return std::nullopt;
      }
      value = value * 10 + (c - '0');
    }
  }
  return negative ? -value : value;
}

bool looks_like_cycle_summary_name(std::string_view name) {
  constexpr std::string_view suffix = kCycleSummarySuffix;
  return name.size() > 3 + suffix.size() && upper(name[0]) == 'S' && (name[1] == '3' || name[1] == '4') &&
         name[2] == '-' && same_letters(name.substr(name.size() - suffix.size()), suffix);
}

CycleRun read_cycle_summary(std::string_view name, std::string_view bytes) {
  CycleRun run;
  run.name = std::string(name);
  int line_number = 0;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    const bool whole = end != std::string_view::npos;
    bytes = whole ? bytes.substr(end + 1) : std::string_view();
    ++line_number;
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    const std::vector<std::string_view> fields = split_tabs(line);
    if (line_number == 1) {
      run.is_summary = fields.size() == kCycleSummaryColumnCount;
      for (size_t i = 0; run.is_summary && i < fields.size(); ++i) {
        run.is_summary = fields[i] == kCycleSummaryHeader[i];
      }
      if (!run.is_summary) {
        run.problems.push_back({0, "not a cycle summary: its first line is not the summary's header"});
        return run;
      }
      continue;
    }
    if (line.empty()) {
      continue;
    }
    CycleRow row;
    row.line = line_number;
    if (fields.size() != kCycleSummaryColumnCount || !read_row(fields, row)) {
      run.problems.push_back({line_number, whole ? "not a cycle row" : "cut off while it was written"});
      continue;
    }
    run.rows.push_back(std::move(row));
  }
  return run;
}
