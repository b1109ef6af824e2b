// The report as one self-contained HTML page: summary table, per-log figures and charts.
#pragma once

#include <string>
#include <vector>

#include "report/log_summary.h"

// `messages`: what could not be read, one line each, shown above the summary.
std::string report_page(const std::vector<LogReport>& reports, const std::vector<std::string>& messages);
