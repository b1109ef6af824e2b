// What the page's script draws, as one JSON object: each S1 run's rows, the capacity over time with
// the running machine's design capacity, and each sleep test's drain.
#pragma once

#include <string>
#include <vector>

#include "report/log_summary.h"
#include "report/machine_battery.h"

// `reports` oldest first; each S1 run's "id" is its index there, as the page's sections number them.
std::string page_data_json(const std::vector<LogReport>& reports, const MachineBattery& machine);

// A number as JavaScript reads it back, shortest first.
std::string number_text(double value);
