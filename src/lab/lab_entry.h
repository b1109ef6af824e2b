// The unattended runs on a laptop the entry chose: everything the host needs besides the laptop.
#pragma once

#include "lab/lab_command_line.h"
#include "laptop/laptop.h"

// Runs `log` or `sleep`; the exit status.
int run_lab_command(const LabCommand& command, Laptop& laptop, MonotonicClock& clock);
