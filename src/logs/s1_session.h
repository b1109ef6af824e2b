// The S1 logging session: a battery row at the start, one per minute block and one at the stop.
#pragma once

#include "logs/log_file.h"
#include "ports/panel_ports.h"

void start_s1_session(LogState& state, const PanelPorts& ports);
void s1_minute_row(LogState& state, const PanelPorts& ports);
void stop_s1_session(LogState& state, const PanelPorts& ports);
