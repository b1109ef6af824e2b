// The S1 logging session: a battery row at the start, one per minute block and one at the stop.
#pragma once

#include "app/panel_ports.h"
#include "app/panel_state.h"

void start_s1_session(PanelState& state, const PanelPorts& ports);
void s1_minute_row(PanelState& state, const PanelPorts& ports);
void stop_s1_session(PanelState& state, const PanelPorts& ports);
