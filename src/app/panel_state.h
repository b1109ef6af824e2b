// The one record of application state. Everything starts zero except the display power argument.
#pragma once

#include <cstdint>

#include "battery/battery_snapshot.h"
#include "common/win_types.h"
#include "text/format.h"

constexpr int kBoardTextSize = 100;  // of which at most 50 characters and a terminator are stored

// A failure to tell the user once the operation that met it has finished (deferred_reports.h).
struct DeferredReport {
  char16_t text[kWideTextSize];
  const char16_t* caption;  // a literal
  UINT type;
};
constexpr size_t kDeferredReportLimit = 4;  // no operation meets more than three failures

struct PanelState {
  HWND host_window = nullptr;
  HWND panel = nullptr;

  char16_t board_manufacturer[kBoardTextSize] = {};
  char16_t board_product[kBoardTextSize] = {};
  char16_t board_serial_number[kBoardTextSize] = {};

  BatterySnapshot battery = {};
  BatterySnapshot second_battery = {};  // the power actions read its AC flag

  char16_t panel_text[kWideTextSize] = {};
  SYSTEMTIME local_time = {};

  // Live monitor
  int32_t tick_counter = 0;
  int32_t minute_drain_sum = 0;
  uint32_t previous_remaining_capacity = 0;
  int32_t last_shown_drain = 0;
  int32_t baseline_remaining_capacity = 0;

  // Battery tests
  int32_t s1_active = 0;
  int32_t s1_item_counter = 0;
  HANDLE s1_log = nullptr;
  bool s1_log_failure_reported = false;  // the user has been told this log lost rows
  char16_t log_line[kWideTextSize] = {};
  char16_t log_file_path[kPathTextSize] = {};
  HANDLE sleep_test_log = nullptr;
  bool sleep_test_log_failure_reported = false;
  int32_t sleep_test_mode = 0;  // 0, or 300 (S3) / 400 (S4) while a sleep test is armed

  // Power actions
  HANDLE wake_timer = nullptr;

  DeferredReport deferred_reports[kDeferredReportLimit] = {};
  size_t deferred_report_count = 0;

  // Device settings
  int32_t display_power_argument = 2;  // the next display-power command: 2 off, -1 on
  INPUT windows_key_input = {};
  INPUT letter_key_input = {};
};

constexpr UINT_PTR kPanelTimerId = 1;
constexpr UINT kPanelTimerPeriodMs = 1000;
