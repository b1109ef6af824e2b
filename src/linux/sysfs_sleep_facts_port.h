// What the kernel tells about the real laptop's sleeps, from /sys/power, the RTC and /proc/interrupts
// (all readable by any user), with the clocks of the laptop's power broadcasts.
#pragma once

#include <string>

#include "linux/power_clocks.h"
#include "linux/rtc_wake_alarm.h"
#include "linux/sysfs_files.h"
#include "ports/sleep_facts_port.h"

struct SleepFactPaths {
  std::string power_root = "/sys/power";
  std::string rtc_root = kRtcRoot;
  std::string interrupts = "/proc/interrupts";
};

class SysfsSleepFactsPort final : public SleepFactsPort {
 public:
  SysfsSleepFactsPort(SysfsFiles& files, PowerClocks& clocks, SleepFactPaths paths = {})
      : files_(files), clocks_(clocks), paths_(std::move(paths)) {}

  std::optional<std::string> read(SleepFact fact) override;
  SleepClocks read_clocks() override;

 private:
  std::string path_of(SleepFact fact) const;

  SysfsFiles& files_;
  PowerClocks& clocks_;
  SleepFactPaths paths_;
};
