// Which action each panel command runs, and the handler that runs it.
#pragma once

#include "common/win_types.h"

struct PanelState;
struct PanelPorts;

enum class PanelAction {
  none,
  exit_program,
  s1_session,
  sleep_test,  // S3 or S4: each has a handler of its own
  shut_down,
  display_power,
  brightness_down,
  brightness_up,
  volume_mute,
  volume_down,
  volume_up,
  win_x_chord,
  win_p_chord,
  wireless_radio,
  wake_fields,
};

constexpr int kFirstCommandId = 1000;
constexpr int kLastCommandId = 1037;

// The action of a command identifier; `none` outside 1000..1037 and for controls without one.
PanelAction action_for_command(int id);

using CommandHandler = void (*)(PanelState& state, const PanelPorts& ports);

// The handler of a command identifier; null where action_for_command gives `none`.
CommandHandler handler_for_command(int id);
