#include "panel/panel.h"

#include "../../res/control_ids.h"
#include "battery/battery_query.h"
#include "devices/brightness.h"
#include "devices/shortcuts.h"
#include "devices/wireless_radio.h"
#include "logs/s1_session.h"
#include "logs/sleep_run.h"
#include "panel/command_table.h"
#include "panel/deferred_reports.h"
#include "panel/panel_tick.h"
#include "power/power_actions.h"

namespace {

constexpr int32_t kTicksBeforeFirstMinute = 58;  // the tick at the end of initialisation is the 59th
constexpr size_t kUniqueIdClearedUnits = 32;     // as much as the query asks the driver for

void run_action(PanelState& state, const PanelPorts& ports, PanelAction action, int id) {
  switch (action) {
    case PanelAction::none:
      break;
    case PanelAction::exit_program:
      ports.dialog.KillTimer(state.panel, kPanelTimerId);
      ports.dialog.PostQuitMessage(0);
      break;
    case PanelAction::s1_session:
      if (state.s1_active == 0) {
        start_s1_session(state, ports);
      } else {
        stop_s1_session(state, ports);
      }
      break;
    case PanelAction::sleep_test:
      start_sleep_test(state, ports, id);
      break;
    case PanelAction::shut_down:
      shut_down(state, ports);
      break;
    case PanelAction::display_power:
      toggle_display_power(state, ports.dialog);
      break;
    case PanelAction::brightness_down:
      step_brightness(ports.lcd, false);
      break;
    case PanelAction::brightness_up:
      step_brightness(ports.lcd, true);
      break;
    case PanelAction::volume_mute:
      send_app_command(state, ports.dialog, kAppCommandVolumeMute);
      break;
    case PanelAction::volume_down:
      send_app_command(state, ports.dialog, kAppCommandVolumeDown);
      break;
    case PanelAction::volume_up:
      send_app_command(state, ports.dialog, kAppCommandVolumeUp);
      break;
    case PanelAction::win_x_chord:
      send_win_chord(state, ports.input, kKeyX);
      break;
    case PanelAction::win_p_chord:
      send_win_chord(state, ports.input, kKeyP);
      break;
    case PanelAction::wireless_radio:
      toggle_wireless_radio(ports.wlan);
      break;
    case PanelAction::wake_fields:
      update_wake_fields(state, ports);
      break;
  }
}

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
  const PanelAction action = action_for_command(id);
  if (action == PanelAction::none) {
    return FALSE;
  }
  run_action(state, ports, action, id);
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
