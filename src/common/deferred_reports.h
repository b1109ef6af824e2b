// Failures are told only once the operation that met them has finished. A message box runs a modal
// loop that delivers ticks, power broadcasts and commands, and none of them may find a log, a session
// or a sleep test half changed. The panel shows what waits here (panel/deferred_reports.h).
#pragma once

#include <cstddef>

#include "common/win_types.h"
#include "text/format.h"
#include "text/wide_text.h"

struct DeferredReport {
  char16_t text[kWideTextSize];
  const char16_t* caption;  // a literal
  UINT type;
};
constexpr size_t kDeferredReportLimit = 4;  // no operation meets more than three failures

struct DeferredReports {
  DeferredReport deferred_reports[kDeferredReportLimit] = {};
  size_t deferred_report_count = 0;
};

// Keeps the report until the panel shows it; a report beyond the limit is dropped.
inline void defer_report(DeferredReports& reports, const char16_t* text, const char16_t* caption, UINT type) {
  if (reports.deferred_report_count == kDeferredReportLimit) {
    return;
  }
  DeferredReport& report = reports.deferred_reports[reports.deferred_report_count++];
  copy_wide(report.text, text);
  report.caption = caption;
  report.type = type;
}
