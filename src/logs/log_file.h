// Test log files: names, header and row formats, writing lines in the ANSI code page, showing a log.
#pragma once

#include "battery/battery_snapshot.h"
#include "common/panel_windows.h"
#include "ports/panel_ports.h"
#include "power/power_actions.h"
#include "text/format.h"

enum class LogKind { s1, s3, s4 };

constexpr size_t kConversionBufferSize = 1024;

// What the S1 session and the sleep tests keep between their steps; the panel state holds it.
struct LogState : virtual PanelWindows, PowerActionState {
  SYSTEMTIME local_time = {};
  int32_t baseline_remaining_capacity = 0;

  int32_t s1_active = 0;
  int32_t s1_item_counter = 0;
  HANDLE s1_log = nullptr;
  bool s1_log_failure_reported = false;  // the user has been told this log lost rows
  char16_t log_line[kWideTextSize] = {};
  char16_t log_file_path[kPathTextSize] = {};
  HANDLE sleep_test_log = nullptr;
  bool sleep_test_log_failure_reported = false;
  int32_t sleep_test_mode = 0;  // 0, or 300 (S3) / 400 (S4) while a sleep test is armed
};

// The kind's file name for a test started at `time`, into the log file path.
void test_log_name(LogState& state, LogKind kind, const SYSTEMTIME& time);
// Creates (or truncates) the file the log file path names. A log that cannot be created is reported
// to the user (deferred_reports.h), naming the file and the system's reason; the test goes on with the
// invalid handle.
HANDLE open_test_log(LogState& state, const PanelPorts& ports);
void format_log_header(LogState& state, LogKind kind);
void format_log_row(LogKind kind, int32_t item, const SYSTEMTIME& time, const BatterySnapshot& snapshot,
                    int32_t diff, char16_t (&line)[kWideTextSize]);
// Appends one line in the ANSI code page with a single write; true when the whole line was written.
bool write_log_line(const PanelPorts& ports, HANDLE log, const char16_t (&line)[kWideTextSize]);
// The caller forgets the handle as it closes it (std::exchange), so that nothing closes it twice.
void close_test_log(const PanelPorts& ports, HANDLE log);
// Notepad, from the system directory, on the log file path; does not wait for it.
void show_test_log(const LogState& state, const PanelPorts& ports);

// Reports the first failed write of a log; `reported` remembers it for the rest of that log.
void report_log_write_failure(LogState& state, const PanelPorts& ports, LogKind kind, bool& reported);
