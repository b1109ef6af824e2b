// The program's one panel state and the Windows ports every procedure reaches the platform through.
#pragma once

#include "panel/panel_state.h"
#include "ports/panel_ports.h"
#include "ports/wmi_port.h"

extern PanelState program_state;
extern const PanelPorts program_ports;
// Only the host window's creation reads the board identity.
extern WmiPort& program_wmi;
