#include "panel/deferred_reports.h"

void show_deferred_reports(PanelState& state, const PanelPorts& ports) {
  while (state.deferred_report_count > 0) {
    const DeferredReport report = state.deferred_reports[0];
    for (size_t i = 1; i < state.deferred_report_count; ++i) {
      state.deferred_reports[i - 1] = state.deferred_reports[i];
    }
    --state.deferred_report_count;
    ports.dialog.MessageBoxW(state.host_window, report.text, report.caption, report.type);
  }
}
