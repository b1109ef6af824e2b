// `chargewright sleep`: the panel's S3 (S4) button pressed once a cycle with the wake delay set to
// the sleep time, and after each resume what the kernel says the machine did, in a summary file.
#pragma once

#include <cstdio>

#include "lab/lab_command_line.h"
#include "lab/lab_host.h"

// Exit status: 0 when the cycles ran (or Ctrl+C ended them between two), 1 when the run was refused
// or a suspend failed.
int run_sleep_command(LabHost& host, const LabCommand& command, ClockPort& local_clock, std::FILE* out,
                      std::FILE* notices);
