#include "lab/lab_entry.h"

#include <cstdio>

#include "lab/echoing_log_file_port.h"
#include "lab/lab_host.h"
#include "lab/lab_power_screen.h"
#include "lab/log_command.h"
#include "lab/sleep_command.h"
#include "posix/local_clock_port.h"
#include "posix/posix_log_file_port.h"

int run_lab_command(const LabCommand& command, Laptop& laptop, MonotonicClock& clock) {
  SignalWaiter waiter;
  LabPowerScreen power_screen(waiter);
  laptop.set_power_screen(&power_screen);
  LocalClockPort local_clock;
  NoDocumentWindow nobody;
  PosixLogFilePort files(nobody);
  EchoingLogFilePort echoed(files, stdout);
  // The S1 rows go to standard output as they are written; a sleep run sums its logs up instead.
  echoed.set_echo(command.kind == LabCommand::Kind::log);
  LabHost host(laptop, clock, local_clock, echoed, waiter, stderr);
  const int status = command.kind == LabCommand::Kind::log
                         ? run_log_command(host, command.duration_s, stderr)
                         : run_sleep_command(host, command, local_clock, stdout, stderr);
  laptop.set_power_screen(nullptr);
  return status;
}
