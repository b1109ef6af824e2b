#include "panel/command_table.h"

#include "../../res/control_ids.h"

namespace {

struct CommandEntry {
  int id;
  PanelAction action;
};

constexpr CommandEntry kCommands[] = {
    {IDC_EXIT, PanelAction::exit_program},
    {IDC_S1_SAVE, PanelAction::s1_session},
    {IDC_S4, PanelAction::sleep_test},
    {IDC_S3, PanelAction::sleep_test},
    {IDC_S5, PanelAction::shut_down},
    {IDC_DISPLAY_POWER, PanelAction::display_power},
    {IDC_DARK, PanelAction::brightness_down},
    {IDC_BRIGHT, PanelAction::brightness_up},
    {IDC_MUTE, PanelAction::volume_mute},
    {IDC_VOLUME_DOWN, PanelAction::volume_down},
    {IDC_VOLUME_UP, PanelAction::volume_up},
    {IDC_MOBILITY_CENTER, PanelAction::win_x_chord},
    {IDC_CONNECT_DISPLAY, PanelAction::win_p_chord},
    {IDC_WIRELESS, PanelAction::wireless_radio},
    {IDC_WAKE_UP_AFTER, PanelAction::wake_fields},
};

}  // namespace

PanelAction action_for_command(int id) {
  // One unsigned comparison rejects identifiers below and above the table's range.
  if (static_cast<unsigned>(id - kFirstCommandId) > static_cast<unsigned>(kLastCommandId - kFirstCommandId)) {
    return PanelAction::none;
  }
  for (const CommandEntry& entry : kCommands) {
    if (entry.id == id) {
      return entry.action;
    }
  }
  return PanelAction::none;
}
