#include "panel/panel.h"

#include "../../res/control_ids.h"
#include "battery/battery_query.h"
#include "logs/sleep_run.h"
#include "panel/command_table.h"
#include "panel/deferred_reports.h"
#include "panel/panel_tick.h"

namespace {

constexpr int32_t kTicksBeforeFirstMinute = 58;  // the tick at the end of initialisation is the 59th
constexpr size_t kUniqueIdClearedUnits = 32;     // as much as the query asks the driver for

}  // namespace

void initialise_panel(PanelState& state, const PanelPorts& ports) {
  format_wide(state.panel_text, u"%s\r\n%s %s", state.board_manufacturer, state.board_product,
              state.board_serial_number);
  ports.dialog.SetDlgItemTextW(state.panel, IDC_STATUS_LINE, state.panel_text);

  ports.dialog.SetDlgItemInt(state.panel, IDC_WAKE_DAYS, 0, FALSE);
  ports.dialog.SetDlgItemInt(state.panel, IDC_WAKE_HOURS, 0, FALSE);
  ports.dialog.SetDlgItemInt(state.panel, IDC_WAKE_MINUTES, 3, FALSE);
  ports.dialog.SetDlgItemInt(state.panel, IDC_WAKE_SECONDS, 0, FALSE);

  for (size_t i = 0; i < kUniqueIdClearedUnits; ++i) {
    state.battery.unique_id[i] = 0;
  }
  for (char16_t& unit : state.battery.chemistry) {
    unit = 0;
  }
  query_battery(state.battery, ports.battery);
  write_static_battery_fields(state, ports);

  state.tick_counter = kTicksBeforeFirstMinute;
  state.minute_drain_sum = 0;
  ports.dialog.SetTimer(state.panel, kPanelTimerId, kPanelTimerPeriodMs);
  panel_tick(state, ports);
}

BOOL dispatch_command(PanelState& state, const PanelPorts& ports, WPARAM wparam) {
  const int id = static_cast<int>(wparam & 0xFFFF);
  const CommandHandler handler = handler_for_command(id);
  if (handler == nullptr) {
    return FALSE;
  }
  handler(state, ports);
  return TRUE;
}

void destroy_panel(PanelState& state, const PanelPorts& ports) {
  ports.dialog.KillTimer(state.panel, kPanelTimerId);
  ports.dialog.PostQuitMessage(0);
}

INT_PTR panel_dialog_message(PanelState& state, const PanelPorts& ports, UINT message, WPARAM wparam,
                             LPARAM) {
  // Each message's failures are told once its handling is complete.
  switch (message) {
    case WM_INITDIALOG:
      initialise_panel(state, ports);
      show_deferred_reports(state, ports);
      return TRUE;
    case WM_TIMER:
      panel_tick(state, ports);
      show_deferred_reports(state, ports);
      return TRUE;
    case WM_COMMAND: {
      const BOOL handled = dispatch_command(state, ports, wparam);
      show_deferred_reports(state, ports);
      return handled;
    }
    case WM_DESTROY:
      destroy_panel(state, ports);
      return TRUE;
    default:
      return FALSE;
  }
}

void handle_power_broadcast(PanelState& state, const PanelPorts& ports) {
  finish_sleep_test(state, ports);
  ports.dialog.SendMessageW(state.panel, WM_INITDIALOG, 0, 0);
  show_deferred_reports(state, ports);  // normally told already, at the end of the initialisation
}
