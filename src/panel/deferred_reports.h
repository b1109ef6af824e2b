// Shows the failures the operations left for afterwards (common/deferred_reports.h).
#pragma once

#include "panel/panel_state.h"
#include "ports/panel_ports.h"

// Shows the waiting reports in the order they came, each owned by the host window. A report leaves
// the queue before its box comes up, so an operation run inside the box never shows it again.
void show_deferred_reports(PanelState& state, const PanelPorts& ports);
