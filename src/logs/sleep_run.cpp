#include "logs/sleep_run.h"

#include <initializer_list>
#include <utility>

#include "../../res/control_ids.h"
#include "battery/battery_query.h"
#include "logs/log_file.h"
#include "power/power_actions.h"

namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;  // 100 ns units
// Longer, and the negative due time would wrap to a positive one: an absolute time early in 1601.
constexpr uint64_t kLongestDelaySeconds = INT64_MAX / kTicksPerSecond;

bool test_armed(const LogState& state) {
  return state.sleep_test_mode == kSleepMode || state.sleep_test_mode == kHibernateMode;
}

void write_sleep_line(LogState& state, const PanelPorts& ports, const char16_t (&line)[kWideTextSize],
                      LogKind kind) {
  if (!write_log_line(ports, state.sleep_test_log, line)) {
    report_log_write_failure(state, ports, kind, state.sleep_test_log_failure_reported);
  }
}

LogKind kind_of_mode(int32_t mode) {
  return mode == kSleepMode ? LogKind::s3 : LogKind::s4;
}

}  // namespace

void start_sleep_test(LogState& state, const PanelPorts& ports, int command_id) {
  const int32_t mode = command_id == IDC_S3 ? kSleepMode : kHibernateMode;
  const LogKind kind = kind_of_mode(mode);
  if (test_armed(state)) {
    // The earlier test never gets its second row; its two lines stay, its handle must not leak.
    close_test_log(ports, std::exchange(state.sleep_test_log, INVALID_HANDLE_VALUE));
    state.sleep_test_mode = 0;
  }
  ports.clock.GetLocalTime(&state.local_time);
  test_log_name(state, kind, state.local_time);
  state.sleep_test_log = open_test_log(state, ports);
  state.sleep_test_log_failure_reported = state.sleep_test_log == INVALID_HANDLE_VALUE;
  format_log_header(state, kind);
  write_sleep_line(state, ports, state.log_line, kind);

  ports.clock.GetLocalTime(&state.local_time);
  query_battery(state.battery, ports.battery);
  state.baseline_remaining_capacity = as_i32(state.battery.remaining_capacity);
  format_log_row(kind, 0, state.local_time, state.battery, 0, state.log_line);
  write_sleep_line(state, ports, state.log_line, kind);

  const std::optional<int64_t> delay = wake_delay(state, ports);
  state.sleep_test_mode = mode;
  if (delay.has_value() && *delay == 0) {
    suspend_now(ports, mode);
  } else {
    suspend_with_wake_timer(state, ports, mode == kHibernateMode, delay);
  }
}

std::optional<int64_t> wake_delay(const LogState& state, const PanelPorts& ports) {
  if (ports.dialog.IsDlgButtonChecked(state.panel, IDC_WAKE_UP_AFTER) != BST_CHECKED) {
    return 0;
  }
  const uint64_t days = ports.dialog.GetDlgItemInt(state.panel, IDC_WAKE_DAYS, nullptr, FALSE);
  const uint64_t hours = ports.dialog.GetDlgItemInt(state.panel, IDC_WAKE_HOURS, nullptr, FALSE);
  const uint64_t minutes = ports.dialog.GetDlgItemInt(state.panel, IDC_WAKE_MINUTES, nullptr, FALSE);
  const uint64_t seconds = ports.dialog.GetDlgItemInt(state.panel, IDC_WAKE_SECONDS, nullptr, FALSE);
  // At most about 3.7e14 seconds from four 32-bit fields: no overflow here.
  const uint64_t total_seconds = ((days * 24 + hours) * 60 + minutes) * 60 + seconds;
  if (total_seconds > kLongestDelaySeconds) {
    return std::nullopt;
  }
  return -static_cast<int64_t>(total_seconds * kTicksPerSecond);
}

void update_wake_fields(LogState& state, const PanelPorts& ports) {
  const BOOL enable = ports.dialog.IsDlgButtonChecked(state.panel, IDC_WAKE_UP_AFTER) == BST_CHECKED;
  for (int id : {IDC_WAKE_DAYS, IDC_WAKE_HOURS, IDC_WAKE_MINUTES, IDC_WAKE_SECONDS}) {
    ports.dialog.EnableWindow(ports.dialog.GetDlgItem(state.panel, id), enable);
  }
}

void finish_sleep_test(LogState& state, const PanelPorts& ports) {
  if (!test_armed(state)) {
    return;
  }
  const LogKind kind = kind_of_mode(state.sleep_test_mode);
  // Disarmed first: whatever runs from here on finds the test over, never half finished.
  state.sleep_test_mode = 0;
  SYSTEMTIME resumed_at = {};
  ports.clock.GetLocalTime(&resumed_at);
  BatterySnapshot resumed = {};
  query_battery(resumed, ports.battery);
  const int32_t diff = static_cast<int32_t>(resumed.remaining_capacity -
                                            static_cast<uint32_t>(state.baseline_remaining_capacity));
  char16_t line[kWideTextSize];
  format_log_row(kind, 0, resumed_at, resumed, diff, line);
  write_sleep_line(state, ports, line, kind);
  close_test_log(ports, std::exchange(state.sleep_test_log, INVALID_HANDLE_VALUE));
  show_test_log(state, ports);
}
