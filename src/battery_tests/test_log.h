// Test log files: names, header and row formats, writing lines in the ANSI code page, showing a log.
#pragma once

#include "app/panel_ports.h"
#include "app/panel_state.h"
#include "battery/battery_snapshot.h"

enum class LogKind { s1, s3, s4 };

constexpr size_t kConversionBufferSize = 1024;

// The kind's file name for a test started at `time`, into the log file path.
void test_log_name(PanelState& state, LogKind kind, const SYSTEMTIME& time);
// Creates (or truncates) the file the log file path names. A log that cannot be created is reported
// to the user (deferred_reports.h), naming the file and the system's reason; the test goes on with the
// invalid handle.
HANDLE open_test_log(PanelState& state, const PanelPorts& ports);
void format_log_header(PanelState& state, LogKind kind);
void format_log_row(LogKind kind, int32_t item, const SYSTEMTIME& time, const BatterySnapshot& snapshot,
                    int32_t diff, char16_t (&line)[kWideTextSize]);
// Appends one line in the ANSI code page with a single write; true when the whole line was written.
bool write_log_line(const PanelPorts& ports, HANDLE log, const char16_t (&line)[kWideTextSize]);
// The caller forgets the handle as it closes it (std::exchange), so that nothing closes it twice.
void close_test_log(const PanelPorts& ports, HANDLE log);
// Notepad, from the system directory, on the log file path; does not wait for it.
void show_test_log(const PanelState& state, const PanelPorts& ports);

// Reports the first failed write of a log; `reported` remembers it for the rest of that log.
void report_log_write_failure(PanelState& state, const PanelPorts& ports, LogKind kind, bool& reported);
