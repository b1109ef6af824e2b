#include "app/deferred_reports.h"

#include "text/wide_text.h"

void defer_report(PanelState& state, const char16_t* text, const char16_t* caption, UINT type) {
  if (state.deferred_report_count == kDeferredReportLimit) {
    return;
  }
  DeferredReport& report = state.deferred_reports[state.deferred_report_count++];
  copy_wide(report.text, text);
  report.caption = caption;
  report.type = type;
}

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
