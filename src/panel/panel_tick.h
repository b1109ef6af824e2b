// The panel's battery display: static fields at initialisation and the once-a-second tick.
#pragma once

#include "panel/panel_state.h"
#include "ports/panel_ports.h"

void write_static_battery_fields(PanelState& state, const PanelPorts& ports);
void panel_tick(PanelState& state, const PanelPorts& ports);

// The energy the remaining-time estimate counts on: nine tenths of the usable energy (mWh above the
// first alert level), truncated toward zero.
uint32_t estimate_energy(uint32_t usable);
