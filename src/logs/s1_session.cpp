#include "logs/s1_session.h"

#include <utility>

#include "../../res/control_ids.h"
#include "battery/battery_query.h"
#include "logs/log_file.h"

namespace {

int32_t diff_from_baseline(const LogState& state) {
  return static_cast<int32_t>(state.battery.remaining_capacity -
                              static_cast<uint32_t>(state.baseline_remaining_capacity));
}

void write_s1_line(LogState& state, const PanelPorts& ports) {
  if (!write_log_line(ports, state.s1_log, state.log_line)) {
    report_log_write_failure(state, ports, LogKind::s1, state.s1_log_failure_reported);
  }
}

void write_s1_row(LogState& state, const PanelPorts& ports, int32_t diff) {
  const int32_t item = state.s1_item_counter++;
  format_log_row(LogKind::s1, item, state.local_time, state.battery, diff, state.log_line);
  write_s1_line(state, ports);
}

}  // namespace

void start_s1_session(LogState& state, const PanelPorts& ports) {
  state.s1_active = 1;
  state.s1_item_counter = 0;
  ports.dialog.SetDlgItemTextW(state.panel, IDC_S1_SAVE, u"Stop");
  ports.clock.GetLocalTime(&state.local_time);
  test_log_name(state, LogKind::s1, state.local_time);
  state.s1_log = open_test_log(state, ports);
  // A log that could not be created was reported already; its rows need no second message.
  state.s1_log_failure_reported = state.s1_log == INVALID_HANDLE_VALUE;
  format_log_header(state, LogKind::s1);
  write_s1_line(state, ports);
  query_battery(state.battery, ports.battery);
  state.baseline_remaining_capacity = as_i32(state.battery.remaining_capacity);
  write_s1_row(state, ports, 0);
}

void s1_minute_row(LogState& state, const PanelPorts& ports) {
  write_s1_row(state, ports, diff_from_baseline(state));
}

void stop_s1_session(LogState& state, const PanelPorts& ports) {
  write_s1_row(state, ports, diff_from_baseline(state));
  close_test_log(ports, std::exchange(state.s1_log, INVALID_HANDLE_VALUE));
  state.s1_active = 0;
  ports.dialog.SetDlgItemTextW(state.panel, IDC_S1_SAVE, u"S1 / Save");
  show_test_log(state, ports);
}
