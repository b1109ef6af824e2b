// Display power, volume and the Windows-key chords: requests the system carries out.
#pragma once

#include "panel/panel_state.h"
#include "ports/dialog_port.h"
#include "ports/input_port.h"

constexpr int kAppCommandVolumeMute = 8;  // APPCOMMAND_VOLUME_MUTE
constexpr int kAppCommandVolumeDown = 9;  // APPCOMMAND_VOLUME_DOWN
constexpr int kAppCommandVolumeUp = 10;   // APPCOMMAND_VOLUME_UP
constexpr WORD kKeyX = 0x58;
constexpr WORD kKeyP = 0x50;

// Display off (2) and on (-1), alternately from one press to the next.
void toggle_display_power(PanelState& state, DialogPort& dialog);
void send_app_command(const PanelState& state, DialogPort& dialog, int app_command);
// Windows key down, letter down, letter up, Windows key up: four separate events.
void send_win_chord(PanelState& state, InputPort& input, WORD letter_key);
