// The program's one panel state and the Windows ports every procedure reaches the platform through.
#pragma once

#include "app/panel_ports.h"
#include "app/panel_state.h"

extern PanelState program_state;
extern const PanelPorts program_ports;
