// The panel's entry points: the hosts unpack their messages and call these.
#pragma once

#include "panel/panel_state.h"
#include "ports/panel_ports.h"

// WM_INITDIALOG: at creation and again on every power broadcast.
void initialise_panel(PanelState& state, const PanelPorts& ports);

// WM_COMMAND: TRUE after an action, FALSE for an identifier without one.
BOOL dispatch_command(PanelState& state, const PanelPorts& ports, WPARAM wparam);

// WM_DESTROY of the panel.
void destroy_panel(PanelState& state, const PanelPorts& ports);

// The panel's dialog procedure, without the window system: TRUE for the four messages it handles.
// Failures met while handling a message are shown after it, owned by the host window.
INT_PTR panel_dialog_message(PanelState& state, const PanelPorts& ports, UINT message, WPARAM wparam,
                             LPARAM lparam);

// WM_POWERBROADCAST to the host window, whatever the event: finish an armed sleep test, then
// re-initialise the panel by sending it WM_INITDIALOG.
void handle_power_broadcast(PanelState& state, const PanelPorts& ports);
