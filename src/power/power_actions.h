// Suspend, hibernate and shutdown.
#pragma once

#include "app/panel_ports.h"
#include "app/panel_state.h"

// S5: enable the shutdown privilege, force a shutdown, end the message loop.
void shut_down(PanelState& state, const PanelPorts& ports);
