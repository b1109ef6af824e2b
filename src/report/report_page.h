// The report as one self-contained HTML page: summary tables, charts across logs, per-log figures
// and charts.
#pragma once

#include <string>
#include <vector>

#include "report/cycle_summary_reading.h"
#include "report/log_summary.h"
#include "report/machine_battery.h"

// `reports` oldest first; `runs`: the unattended sleep runs' cycle summaries. `messages`: what could
// not be read, one line each, shown above the summary. `machine`: the battery of the machine the report
// runs on.
std::string report_page(const std::vector<LogReport>& reports, const std::vector<CycleRun>& runs,
                        const std::vector<std::string>& messages, const MachineBattery& machine);
