// Reading a test log as text: its file name, its lines and its rows. Nothing here needs Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kS1Header =
    "Item\tTime\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)";
// The S3 and S4 logs have no item column.
inline constexpr std::string_view kSleepHeader =
    "Time\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)";

struct ClockTime {
  int hour = 0;
  int minute = 0;
  int second = 0;

  int seconds_of_day() const { return hour * 3600 + minute * 60 + second; }
  bool operator==(const ClockTime&) const = default;
};

// Seconds from `from` to `to` going forward, across midnight when `to` reads earlier.
int seconds_after(const ClockTime& from, const ClockTime& to);

// Whether `time` lies within [from, to] on the clock, give or take a second for two clocks read a
// moment apart.
bool clock_within(const ClockTime& time, const ClockTime& from, const ClockTime& to);

// "KK-HHhMMmSSs-YYYYyMMmDDd.txt", where KK is the log's kind: "S1", "S3" or "S4".
struct TestLogName {
  ClockTime time;
  int year = 0;
  int month = 0;
  int day = 0;
};
std::optional<TestLogName> parse_test_log_name(std::string_view name, std::string_view kind);

// The lines of a log, split at each LF, without their CR LF. `fault` is empty when every line, the
// last one too, ends with CR LF and no other CR occurs; otherwise it names the first faulty line.
struct LogLines {
  std::vector<std::string> lines;
  std::string fault;
};
LogLines split_crlf_lines(std::string_view text);

// "HH:MM:SS percent%\t%8i\t%8i\t%8i\t%8i" (without CR LF), an S3 or S4 row. `life_percent` is the
// text between the space after the time and the percent sign: two decimals, or " N/A" without a
// battery.
struct SleepRow {
  ClockTime time;
  std::string life_percent;
  int full_charged = 0;
  int remaining = 0;
  int rate = 0;
  int diff = 0;
};
std::optional<SleepRow> parse_sleep_row(std::string_view line);

// "item\t" followed by the fields of a sleep row.
struct S1Row {
  int item = 0;
  SleepRow fields;
};
std::optional<S1Row> parse_s1_row(std::string_view line);
