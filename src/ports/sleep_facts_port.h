// What the kernel tells about the machine's sleeps, as plain text: the files under /sys/power, the
// RTC's alarm and the interrupt names, and the two clocks whose distance grows by the time asleep.
// Each laptop answers it; the reading of the answers is the unattended runs' own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class SleepFact {
  mem_sleep,         // /sys/power/mem_sleep: "s2idle [deep]"
  disk,              // /sys/power/disk: "[platform] shutdown reboot suspend"
  success,           // /sys/power/suspend_stats/success
  fail,              // .../fail
  last_failed_step,  // .../last_failed_step
  last_failed_dev,   // .../last_failed_dev
  last_hw_sleep,     // .../last_hw_sleep, microseconds
  total_hw_sleep,    // .../total_hw_sleep, microseconds
  max_hw_sleep,      // .../max_hw_sleep, the most the counter holds, microseconds
  wakeup_irq,        // /sys/power/pm_wakeup_irq
  wake_alarm,        // the RTC's wakealarm: empty once the alarm has rung
  interrupts,        // /proc/interrupts
};

// The boot clock runs on while the machine sleeps; the monotonic one stops.
struct SleepClocks {
  uint64_t monotonic_ms = 0;
  uint64_t boottime_ms = 0;
};

class SleepFactsPort {
 public:
  virtual ~SleepFactsPort() = default;
  // The file's text as read, or nothing where the machine has no such file or it cannot be read.
  virtual std::optional<std::string> read(SleepFact fact) = 0;
  virtual SleepClocks read_clocks() = 0;
};
