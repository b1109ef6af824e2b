// The command line of chargewright-report: arguments, inputs, outputs and exit code.
#pragma once

#include <string>
#include <vector>

#include "ports/battery_port.h"
#include "report/report_files.h"

constexpr int kExitWritten = 0;
constexpr int kExitNothingRead = 1;
constexpr int kExitUsage = 2;

constexpr const char* kDefaultOutput = "chargewright-report.html";
constexpr size_t kLargestLog = 64u * 1024 * 1024;  // a year of S1 rows is under 30 MB

// `arguments` without the program name; `battery` answers for the machine the report runs on. `out`
// gets the text summary, `err` every problem.
int run_report(const std::vector<std::string>& arguments, ReportFiles& files, BatteryPort& battery,
               std::string& out, std::string& err);
