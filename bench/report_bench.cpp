// The report on a week of S1 rows (10,080 minute rows, as the panel's log code formats them):
// reading and summarising it, and writing its page. A tester waits for no more than a second.
#include <benchmark/benchmark.h>

#include <string>

#include "logs/log_file.h"
#include "report/log_summary.h"
#include "report/report_page.h"

namespace {

constexpr int kWeekOfRows = 7 * 24 * 60;

// Log lines hold ASCII only, so each UTF-16 unit is its byte in any code page.
void append_line(std::string& bytes, const char16_t (&line)[kWideTextSize]) {
  for (size_t i = 0; i < kWideTextSize && line[i] != 0; ++i) {
    bytes += static_cast<char>(line[i]);
  }
}

std::string week_of_s1_rows() {
  LogState state{};
  format_log_header(state, LogKind::s1);
  std::string bytes;
  append_line(bytes, state.log_line);
  BatterySnapshot battery = {};
  battery.full_charged_capacity = 52120;
  battery.remaining_capacity = 52000;
  SYSTEMTIME time = {2026, 12, 1, 7, 8, 0, 0, 0};
  for (int item = 0; item < kWeekOfRows; ++item) {
    battery.rate = -9000 - (item * 37) % 5000;
    const int32_t diff = item == 0 ? 0 : -(item % 7);
    battery.remaining_capacity -= static_cast<uint32_t>(-diff);
    format_log_row(LogKind::s1, item, time, battery, diff, state.log_line);
    append_line(bytes, state.log_line);
    time.wMinute = static_cast<WORD>((time.wMinute + 1) % 60);
    time.wHour = static_cast<WORD>(time.wMinute == 0 ? (time.wHour + 1) % 24 : time.wHour);
  }
  return bytes;
}

void BM_ReadAndSummariseWeek(benchmark::State& state) {
  const std::string bytes = week_of_s1_rows();
  for (auto _ : state) {
    LogReport report = summarise(read_log("S1-08h00m00s-2026y12m07d.txt", bytes));
    benchmark::DoNotOptimize(report.s1);
  }
  state.counters["rows"] = kWeekOfRows;
}
BENCHMARK(BM_ReadAndSummariseWeek)->Unit(benchmark::kMillisecond);

void BM_WriteWeekPage(benchmark::State& state) {
  const std::vector<LogReport> reports = {
      summarise(read_log("S1-08h00m00s-2026y12m07d.txt", week_of_s1_rows()))};
  size_t size = 0;
  for (auto _ : state) {
    const std::string page = report_page(reports, {}, {}, MachineBattery{});
    size = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["page_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_WriteWeekPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
