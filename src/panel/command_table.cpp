#include "panel/command_table.h"

#include "../../res/control_ids.h"
#include "devices/brightness.h"
#include "devices/shortcuts.h"
#include "devices/wireless_radio.h"
#include "logs/s1_session.h"
#include "logs/sleep_run.h"
#include "panel/panel_state.h"
#include "ports/panel_ports.h"
#include "power/power_actions.h"

namespace {

void exit_program(PanelState& state, const PanelPorts& ports) {
  ports.dialog.KillTimer(state.panel, kPanelTimerId);
  ports.dialog.PostQuitMessage(0);
}

void start_or_stop_s1_session(PanelState& state, const PanelPorts& ports) {
  if (state.s1_active == 0) {
    start_s1_session(state, ports);
  } else {
    stop_s1_session(state, ports);
  }
}

struct CommandEntry {
  int id;
  PanelAction action;
  CommandHandler handler;
};

constexpr CommandEntry kCommands[] = {
    {IDC_EXIT, PanelAction::exit_program, exit_program},
    {IDC_S1_SAVE, PanelAction::s1_session, start_or_stop_s1_session},
    {IDC_S4, PanelAction::sleep_test,
     [](PanelState& state, const PanelPorts& ports) { start_sleep_test(state, ports, IDC_S4); }},
    {IDC_S3, PanelAction::sleep_test,
     [](PanelState& state, const PanelPorts& ports) { start_sleep_test(state, ports, IDC_S3); }},
    {IDC_S5, PanelAction::shut_down,
     [](PanelState& state, const PanelPorts& ports) { shut_down(state, ports); }},
    {IDC_DISPLAY_POWER, PanelAction::display_power,
     [](PanelState& state, const PanelPorts& ports) { toggle_display_power(state, ports.dialog); }},
    {IDC_DARK, PanelAction::brightness_down,
     [](PanelState&, const PanelPorts& ports) { step_brightness(ports.lcd, false); }},
    {IDC_BRIGHT, PanelAction::brightness_up,
     [](PanelState&, const PanelPorts& ports) { step_brightness(ports.lcd, true); }},
    {IDC_MUTE, PanelAction::volume_mute,
     [](PanelState& state, const PanelPorts& ports) {
       send_app_command(state, ports.dialog, kAppCommandVolumeMute);
     }},
    {IDC_VOLUME_DOWN, PanelAction::volume_down,
     [](PanelState& state, const PanelPorts& ports) {
       send_app_command(state, ports.dialog, kAppCommandVolumeDown);
     }},
    {IDC_VOLUME_UP, PanelAction::volume_up,
     [](PanelState& state, const PanelPorts& ports) {
       send_app_command(state, ports.dialog, kAppCommandVolumeUp);
     }},
    {IDC_MOBILITY_CENTER, PanelAction::win_x_chord,
     [](PanelState& state, const PanelPorts& ports) { send_win_chord(state, ports.input, kKeyX); }},
    {IDC_CONNECT_DISPLAY, PanelAction::win_p_chord,
     [](PanelState& state, const PanelPorts& ports) { send_win_chord(state, ports.input, kKeyP); }},
    {IDC_WIRELESS, PanelAction::wireless_radio,
     [](PanelState&, const PanelPorts& ports) { toggle_wireless_radio(ports.wlan); }},
    {IDC_WAKE_UP_AFTER, PanelAction::wake_fields,
     [](PanelState& state, const PanelPorts& ports) { update_wake_fields(state, ports); }},
};

const CommandEntry* find_command(int id) {
  // One unsigned comparison rejects identifiers below and above the table's range.
  if (static_cast<unsigned>(id - kFirstCommandId) > static_cast<unsigned>(kLastCommandId - kFirstCommandId)) {
    return nullptr;
  }
  for (const CommandEntry& entry : kCommands) {
    if (entry.id == id) {
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace

PanelAction action_for_command(int id) {
  const CommandEntry* entry = find_command(id);
  return entry == nullptr ? PanelAction::none : entry->action;
}

CommandHandler handler_for_command(int id) {
  const CommandEntry* entry = find_command(id);
  return entry == nullptr ? nullptr : entry->handler;
}
