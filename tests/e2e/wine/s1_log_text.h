// Reading an S1 test log as text: its file name, its lines and its rows. Nothing here needs Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kS1Header =
    "Item\tTime\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)";

struct ClockTime {
  int hour = 0;
  int minute = 0;
  int second = 0;

  int seconds_of_day() const { return hour * 3600 + minute * 60 + second; }
  bool operator==(const ClockTime&) const = default;
};

// Seconds from `from` to `to` going forward, across midnight when `to` reads earlier.
int seconds_after(const ClockTime& from, const ClockTime& to);

// "S1-HHhMMmSSs-YYYYyMMmDDd.txt".
struct S1LogName {
  ClockTime time;
  int year = 0;
  int month = 0;
  int day = 0;
};
std::optional<S1LogName> parse_s1_log_name(std::string_view name);

// The lines of a log, split at each LF, without their CR LF. `fault` is empty when every line, the
// last one too, ends with CR LF and no other CR occurs; otherwise it names the first faulty line.
struct LogLines {
  std::vector<std::string> lines;
  std::string fault;
};
LogLines split_crlf_lines(std::string_view text);

// "item\tHH:MM:SS percent%\t%8i\t%8i\t%8i\t%8i" (without CR LF). `life_percent` is the text between
// the space after the time and the percent sign: two decimals, or " N/A" without a battery.
struct S1Row {
  int item = 0;
  ClockTime time;
  std::string life_percent;
  int full_charged = 0;
  int remaining = 0;
  int rate = 0;
  int diff = 0;
};
std::optional<S1Row> parse_s1_row(std::string_view line);
