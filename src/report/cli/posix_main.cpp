// chargewright-report on Linux: arguments and file names are bytes, written out as they came; the
// machine's battery is read from its power supplies, as the real laptop's panel reads it.
#include <cstdio>

#include "linux/sysfs_battery_port.h"
#include "report/cli/posix_report_files.h"
#include "report/report_run.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  PosixReportFiles files;
  PosixSysfsFiles sysfs;
  SysfsBatteryPort battery(sysfs);
  std::string out, err;
  const int code = run_report(arguments, files, battery, out, err);
  std::fwrite(err.data(), 1, err.size(), stderr);
  std::fflush(stderr);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return code;
}
