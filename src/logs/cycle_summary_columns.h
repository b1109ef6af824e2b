// The cycle summary of an unattended sleep run: a tab-separated file beside the run's S3 or S4 logs,
// named like its first log with this suffix in place of ".txt", a header of these columns and one
// row per cycle. "unknown" stands where the machine did not tell, "-" where a column does not apply.
// Its writer (the Linux program) and its reader (the report) both take the layout from here.
#pragma once

#include <cstddef>

inline constexpr char kCycleSummarySuffix[] = "-cycles.tsv";
inline constexpr char kCycleSummaryUnknown[] = "unknown";
inline constexpr char kCycleSummaryNotApplicable[] = "-";

enum CycleSummaryColumn : size_t {
  kCycleColumn,
  kLogColumn,
  kStateColumn,
  kAsleepColumn,          // seconds, three decimals
  kHwSleepColumn,         // seconds, three decimals
  kHwSleepShareColumn,    // percent, one decimal
  kHwSleepWrappedColumn,  // "yes": the sleep outlasted the counter, the two figures before are unreliable
  kWakeSourceColumn,
  kSuspendColumn,  // "ok", "failed" or "unknown"
  kFailedStepColumn,
  kFailedDeviceColumn,
  kLostColumn,        // mWh
  kDrainColumn,       // mW
  kDrainShareColumn,  // percent of full per hour, two decimals
  kCycleSummaryColumnCount,
};

inline constexpr const char* kCycleSummaryHeader[kCycleSummaryColumnCount] = {
    "Cycle",      "Log",     "State",      "Asleep(s)",    "HwSleep(s)", "HwSleep(%)", "HwSleepWrapped",
    "WakeSource", "Suspend", "FailedStep", "FailedDevice", "Lost(mWh)",  "Drain(mW)",  "Drain(%/h)",
};
