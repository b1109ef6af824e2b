// One sleep cycle of an unattended run, as its summary file and its table show it: the cycle's log,
// what the kernel told, and what the battery lost according to the log's rows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lab/resume_reading.h"

// The figures of a sleep log's after-resume row.
struct ResumeRow {
  int32_t full_charged = 0;
  int32_t remaining = 0;
  int32_t diff = 0;  // from the row before the sleep
};

struct CycleRecord {
  int number = 0;
  std::string log_name;
  SleepReading kernel;
  std::optional<ResumeRow> resume_row;  // none when the log lacks it or the battery read failed
};

// The third line of a sleep log ("Time\tLife%..." header, the row before, the row after), read from
// its text; none when the log is short or the battery could not be read after the resume.
std::optional<ResumeRow> resume_row_of(std::string_view log_text);

// mWh lost while asleep (negative: gained on the adapter), the average drain in mW and in hundredths
// of a percent of full per hour.
std::optional<int64_t> energy_lost_mwh(const CycleRecord& record);
std::optional<int64_t> drain_mw(const CycleRecord& record);
std::optional<int64_t> drain_centipercent_per_hour(const CycleRecord& record);

// The summary file: a header line, then one tab-separated row per cycle; "unknown" where the machine
// does not tell, "-" where a column does not apply.
std::string summary_header();
std::string summary_row(const CycleRecord& record);
// The table at the end of a run, with a line of averages over the cycles that give each figure.
std::string summary_table(const std::vector<CycleRecord>& records);
