// Display power, volume and the Windows-key chords: requests the system carries out.
#pragma once

#include "common/app_commands.h"
#include "common/panel_windows.h"
#include "ports/dialog_port.h"
#include "ports/input_port.h"

constexpr WORD kKeyX = 0x58;
constexpr WORD kKeyP = 0x50;

// Shares the panel's windows with the logs' record in the one panel state.
struct ShortcutState : virtual PanelWindows {
  int32_t display_power_argument = 2;  // the next display-power command: 2 off, -1 on
  INPUT windows_key_input = {};
  INPUT letter_key_input = {};
};

// Display off (2) and on (-1), alternately from one press to the next.
void toggle_display_power(ShortcutState& state, DialogPort& dialog);
void send_app_command(const ShortcutState& state, DialogPort& dialog, int app_command);
// Windows key down, letter down, letter up, Windows key up: four separate events.
void send_win_chord(ShortcutState& state, InputPort& input, WORD letter_key);
