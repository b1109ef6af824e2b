// The unattended sleep runs in the report: one table per run's cycle summary, a chart of each
// cycle's drain and share of hardware sleep, and a mark on the cycles to look at (below 90 %
// hardware sleep, or a failed suspend); the console prints the same tables.
#pragma once

#include <string>
#include <vector>

#include "report/cycle_summary_reading.h"

// Why a cycle is marked, or empty.
std::string cycle_mark(const CycleRow& row);
// The page's section, and the data its script charts (a JSON array, one object per run).
std::string cycle_runs_html(const std::vector<CycleRun>& runs);
std::string cycle_runs_json(const std::vector<CycleRun>& runs);
std::string cycle_runs_text(const std::vector<CycleRun>& runs);
