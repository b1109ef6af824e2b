// Test logs as the panel writes them: an S1 session or a sleep test run by the program's own log code
// on the simulated laptop's battery, one panel tick per simulated second.
#pragma once

#include <cstdint>

#include "ports/log_file_port.h"

struct SimulatedStart {
  SYSTEMTIME local_time;
  double charge_fraction = 0.95;  // of the full-charged capacity
};

// The S1 button, `minutes` of ticks, and the Stop button unless `press_stop` is false (the program
// closed during the session).
void run_simulated_s1_session(LogFilePort& files, const SimulatedStart& start, int minutes, bool press_stop);
// The S3 (`hibernate` false) or S4 button with no wake timer; the machine sleeps for `asleep_s`
// with the simulated sleep load, then the resume's power broadcast ends the test.
void run_simulated_sleep_test(LogFilePort& files, const SimulatedStart& start, bool hibernate,
                              int64_t asleep_s);
