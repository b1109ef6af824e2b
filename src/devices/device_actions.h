// The "Device Setting" buttons.
#pragma once

#include "app/panel_ports.h"
#include "app/panel_state.h"

constexpr int kAppCommandVolumeMute = 8;  // APPCOMMAND_VOLUME_MUTE
constexpr int kAppCommandVolumeDown = 9;  // APPCOMMAND_VOLUME_DOWN
constexpr int kAppCommandVolumeUp = 10;   // APPCOMMAND_VOLUME_UP

int step_brightness(PanelState& state, const PanelPorts& ports, bool brighter);
void toggle_wireless_radio(PanelState& state, const PanelPorts& ports);
void toggle_display_power(PanelState& state, const PanelPorts& ports);
void send_app_command(PanelState& state, const PanelPorts& ports, int app_command);
void send_win_chord(PanelState& state, const PanelPorts& ports, char16_t letter);
