// The keys, mouse and laptop events of the panel when the viewer does not have them.
#pragma once

#include "laptop/laptop.h"
#include "panel/panel_state.h"
#include "ports/panel_ports.h"
#include "terminal/terminal_dialog.h"
#include "terminal/terminal_screen.h"

// What the dialog manager does with one event; false when the program is to end.
bool handle_event(const InputEvent& event, TerminalDialog& dialog, Laptop& laptop, PanelState& state,
                  const PanelPorts& ports);
