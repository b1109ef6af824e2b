// The S1 logging session: a battery row at the start, one per minute block and one at the stop.
#pragma once

#include "panel/panel_state.h"
#include "ports/panel_ports.h"

void start_s1_session(PanelState& state, const PanelPorts& ports);
void s1_minute_row(PanelState& state, const PanelPorts& ports);
void stop_s1_session(PanelState& state, const PanelPorts& ports);
