// Failures are told only once the operation that met them has finished. A message box runs a modal
// loop that delivers ticks, power broadcasts and commands, and none of them may find a log, a session
// or a sleep test half changed.
#pragma once

#include "app/panel_ports.h"
#include "app/panel_state.h"

// Keeps the report for `show_deferred_reports`; a report beyond the limit is dropped.
void defer_report(PanelState& state, const char16_t* text, const char16_t* caption, UINT type);

// Shows the waiting reports in the order they came, each owned by the host window. A report leaves
// the queue before its box comes up, so an operation run inside the box never shows it again.
void show_deferred_reports(PanelState& state, const PanelPorts& ports);
