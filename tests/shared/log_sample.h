// One S1 log written through a real file port, and the exact bytes it must leave: the Linux and the
// Windows ports are both checked against these bytes, so their logs are byte-identical.
#pragma once

#include <string>

#include "logs/log_file.h"
#include "panel/panel_state.h"

inline const char kSampleLogBytes[] =
    "Item\tTime\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n"
    "0\t14:06:13 87.71%\t   48000\t   42102\t  -10434\t       0\r\n"
    "1\t14:07:12 87.35%\t   48000\t   41928\t  -10434\t    -174\r\n"
    "2\t14:08:11 100.00%\t      -1\t      -1\t-2147483648\t   41929\r\n";

// Writes the sample through `ports.files` into the file the state's log file path names; false when
// a line did not reach the file whole.
inline bool write_sample_log(PanelState& state, const PanelPorts& ports) {
  const HANDLE log = open_test_log(state, ports);
  bool whole = log != INVALID_HANDLE_VALUE;
  format_log_header(state, LogKind::s1);
  whole = write_log_line(ports, log, state.log_line) && whole;
  BatterySnapshot battery = {};
  battery.full_charged_capacity = 48000;
  battery.rate = -10434;
  const struct {
    SYSTEMTIME time;
    uint32_t remaining;
    int32_t diff;
  } rows[] = {{{2026, 12, 1, 7, 14, 6, 13, 0}, 42102, 0}, {{2026, 12, 1, 7, 14, 7, 12, 0}, 41928, -174}};
  int32_t item = 0;
  for (const auto& row : rows) {
    battery.remaining_capacity = row.remaining;
    format_log_row(LogKind::s1, item++, row.time, battery, row.diff, state.log_line);
    whole = write_log_line(ports, log, state.log_line) && whole;
  }
  battery.full_charged_capacity = 0xFFFFFFFF;
  battery.remaining_capacity = 0xFFFFFFFF;
  battery.rate = INT32_MIN;
  format_log_row(LogKind::s1, item, {2026, 12, 1, 7, 14, 8, 11, 0}, battery, 41929, state.log_line);
  whole = write_log_line(ports, log, state.log_line) && whole;
  close_test_log(ports, log);
  return whole;
}
