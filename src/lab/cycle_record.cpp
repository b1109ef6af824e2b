#include "lab/cycle_record.h"

#include <charconv>
#include <cstdio>

#include "logs/cycle_summary_columns.h"

namespace {

constexpr int64_t kMsPerHour = 3'600'000;
constexpr const char* kUnknown = kCycleSummaryUnknown;

std::optional<int32_t> field_number(std::string_view field) {
  while (!field.empty() && field.front() == ' ') {
    field.remove_prefix(1);
  }
  int32_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || field.empty()) {
    return std::nullopt;
  }
  return value;
}

std::string signed_text(int64_t value) {
  return std::to_string(value);
}

// Hundredths, with the sign in front: "-0.05".
std::string hundredths_text(int64_t hundredths) {
  const uint64_t magnitude = hundredths < 0 ? 0 - static_cast<uint64_t>(hundredths) : hundredths;
  const std::string fraction = std::to_string(100 + magnitude % 100);
  return (hundredths < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." + fraction.substr(1);
}

// Division rounded half away from zero.
int64_t rounded_quotient(int64_t numerator, int64_t denominator) {
  const int64_t half = denominator / 2;
  return numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
}

std::string or_unknown(const std::optional<std::string>& text) {
  return text ? *text : kUnknown;
}

std::string suspend_text(const SleepReading& kernel) {
  switch (kernel.suspend) {
    case SleepReading::Suspend::ok:
      return "ok";
    case SleepReading::Suspend::failed:
      return "failed";
    case SleepReading::Suspend::unknown:
      break;
  }
  return kUnknown;
}

struct Average {
  int64_t sum = 0;
  int64_t count = 0;
  void add(const std::optional<int64_t>& value) {
    if (value) {
      sum += *value;
      ++count;
    }
  }
  std::optional<int64_t> value() const {
    return count == 0 ? std::nullopt : std::optional<int64_t>(rounded_quotient(sum, count));
  }
};

template <class Format>
std::string optional_text(const std::optional<int64_t>& value, Format format) {
  return value ? format(*value) : std::string(kUnknown);
}

}  // namespace

std::optional<ResumeRow> resume_row_of(std::string_view log_text) {
  for (int skipped = 0; skipped < 2; ++skipped) {
    const size_t end = log_text.find('\n');
    if (end == std::string_view::npos) {
      return std::nullopt;
    }
    log_text.remove_prefix(end + 1);
  }
  const std::string_view line = log_text.substr(0, log_text.find('\n'));
  // "hh:mm:ss 78.25%", FullCharged, Remains, Rate, Diff
  std::optional<int32_t> fields[5];
  std::string_view rest = line;
  for (int i = 0; i < 5; ++i) {
    const size_t tab = rest.find('\t');
    const std::string_view field = rest.substr(0, tab);
    fields[i] = i == 0 ? std::optional<int32_t>(0) : field_number(field);
    if (!fields[i] || (tab == std::string_view::npos && i < 4)) {
      return std::nullopt;
    }
    rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
  }
  if (*fields[1] <= 0) {
    return std::nullopt;  // the battery query after the resume failed: a zero-filled reading
  }
  return ResumeRow{*fields[1], *fields[2], *fields[4]};
}

std::optional<int64_t> energy_lost_mwh(const CycleRecord& record) {
  if (!record.resume_row) {
    return std::nullopt;
  }
  return -static_cast<int64_t>(record.resume_row->diff);
}

std::optional<int64_t> drain_mw(const CycleRecord& record) {
  const std::optional<int64_t> lost = energy_lost_mwh(record);
  if (!lost || record.kernel.asleep_ms == 0) {
    return std::nullopt;
  }
  return rounded_quotient(*lost * kMsPerHour, static_cast<int64_t>(record.kernel.asleep_ms));
}

std::optional<int64_t> drain_centipercent_per_hour(const CycleRecord& record) {
  const std::optional<int64_t> lost = energy_lost_mwh(record);
  if (!lost || record.kernel.asleep_ms == 0) {
    return std::nullopt;
  }
  // lost / full * 100 % per asleep hours, in hundredths
  return rounded_quotient(*lost * kMsPerHour * 10'000,
                          static_cast<int64_t>(record.kernel.asleep_ms) * record.resume_row->full_charged);
}

std::string summary_header() {
  std::string header;
  for (const char* column : kCycleSummaryHeader) {
    header += (header.empty() ? "" : "\t") + std::string(column);
  }
  return header + "\n";
}

std::string summary_row(const CycleRecord& record) {
  const SleepReading& kernel = record.kernel;
  const bool failed = kernel.suspend == SleepReading::Suspend::failed;
  const auto failure_detail = [&](const std::string& text) {
    return !failed ? std::string(kCycleSummaryNotApplicable) : text.empty() ? kUnknown : text;
  };
  std::optional<std::string> hw_seconds, hw_share, wrapped;
  if (kernel.hw_sleep_us) {
    hw_seconds = seconds_text(*kernel.hw_sleep_us / 1000, 3);
  }
  if (const std::optional<uint64_t> permille = hw_sleep_permille(kernel)) {
    hw_share = tenths_text(*permille);
  }
  if (kernel.hw_sleep_wrapped) {
    wrapped = *kernel.hw_sleep_wrapped ? "yes" : "no";
  }
  const std::string wake = wake_source(kernel);
  const std::string fields[] = {
      std::to_string(record.number),
      record.log_name,
      kernel.state.empty() ? kUnknown : kernel.state,
      seconds_text(kernel.asleep_ms, 3),
      or_unknown(hw_seconds),
      or_unknown(hw_share),
      or_unknown(wrapped),
      wake.empty() ? kUnknown : wake,
      suspend_text(kernel),
      failure_detail(kernel.failed_step),
      failure_detail(kernel.failed_device),
      optional_text(energy_lost_mwh(record), signed_text),
      optional_text(drain_mw(record), signed_text),
      optional_text(drain_centipercent_per_hour(record), hundredths_text),
  };
  std::string row;
  for (const std::string& field : fields) {
    row += (row.empty() ? "" : "\t") + field;
  }
  return row + "\n";
}

std::string summary_table(const std::vector<CycleRecord>& records) {
  char line[256];
  std::string table;
  const char* const format = "%-6s %-8s %11s %9s %10s %9s %8s  %s\n";
  std::snprintf(line, sizeof line, format, "Cycle", "State", "Asleep(s)", "HwSleep", "Lost(mWh)", "Drain(mW)",
                "%/h", "Woken by");
  table += line;
  Average asleep, hw, lost, drain, share;
  bool any_wrapped = false;
  for (const CycleRecord& record : records) {
    const bool wrapped = record.kernel.hw_sleep_wrapped.value_or(false);
    any_wrapped = any_wrapped || wrapped;
    const std::optional<uint64_t> permille = hw_sleep_permille(record.kernel);
    const std::optional<int64_t> hw_permille =
        permille ? std::optional<int64_t>(static_cast<int64_t>(*permille)) : std::nullopt;
    asleep.add(static_cast<int64_t>(record.kernel.asleep_ms));
    hw.add(hw_permille);
    lost.add(energy_lost_mwh(record));
    drain.add(drain_mw(record));
    share.add(drain_centipercent_per_hour(record));
    std::string wake = wake_source(record.kernel);
    if (record.kernel.suspend == SleepReading::Suspend::failed) {
      wake =
          "suspend failed at " + (record.kernel.failed_step.empty() ? kUnknown : record.kernel.failed_step);
    }
    std::snprintf(line, sizeof line, format, std::to_string(record.number).c_str(),
                  record.kernel.state.empty() ? kUnknown : record.kernel.state.c_str(),
                  seconds_text(record.kernel.asleep_ms, 1).c_str(),
                  optional_text(hw_permille,
                                [&](int64_t tenths) { return tenths_text(tenths) + (wrapped ? "%*" : "%"); })
                      .c_str(),
                  optional_text(energy_lost_mwh(record), signed_text).c_str(),
                  optional_text(drain_mw(record), signed_text).c_str(),
                  optional_text(drain_centipercent_per_hour(record), hundredths_text).c_str(),
                  wake.empty() ? kUnknown : wake.c_str());
    table += line;
  }
  if (!records.empty()) {
    std::snprintf(line, sizeof line, format, "mean", "",
                  seconds_text(static_cast<uint64_t>(asleep.value().value_or(0)), 1).c_str(),
                  optional_text(hw.value(), [](int64_t tenths) { return tenths_text(tenths) + "%"; }).c_str(),
                  optional_text(lost.value(), signed_text).c_str(),
                  optional_text(drain.value(), signed_text).c_str(),
                  optional_text(share.value(), hundredths_text).c_str(), "");
    table += line;
  }
  if (any_wrapped) {
    table += "* the sleep outlasted the hardware sleep counter: that figure is unreliable\n";
  }
  return table;
}
