#include "linux/sysfs_sleep_facts_port.h"

namespace {

constexpr size_t kFactLimit = 4096;
constexpr size_t kInterruptsLimit = 256 * 1024;  // a line per interrupt and a column per CPU

}  // namespace

std::string SysfsSleepFactsPort::path_of(SleepFact fact) const {
  const std::string stats = paths_.power_root + "/suspend_stats/";
  switch (fact) {
    case SleepFact::mem_sleep:
      return paths_.power_root + "/mem_sleep";
    case SleepFact::disk:
      return paths_.power_root + "/disk";
    case SleepFact::success:
      return stats + "success";
    case SleepFact::fail:
      return stats + "fail";
    case SleepFact::last_failed_step:
      return stats + "last_failed_step";
    case SleepFact::last_failed_dev:
      return stats + "last_failed_dev";
    case SleepFact::last_hw_sleep:
      return stats + "last_hw_sleep";
    case SleepFact::total_hw_sleep:
      return stats + "total_hw_sleep";
    case SleepFact::max_hw_sleep:
      return stats + "max_hw_sleep";
    case SleepFact::wakeup_irq:
      return paths_.power_root + "/pm_wakeup_irq";
    case SleepFact::wake_alarm:
      return paths_.rtc_root + "/wakealarm";
    case SleepFact::interrupts:
      return paths_.interrupts;
  }
  return {};
}

std::optional<std::string> SysfsSleepFactsPort::read(SleepFact fact) {
  return files_.read(path_of(fact), fact == SleepFact::interrupts ? kInterruptsLimit : kFactLimit);
}

SleepClocks SysfsSleepFactsPort::read_clocks() {
  const ClockReading now = clocks_.read();
  return {now.monotonic_ms, now.boottime_ms};
}
