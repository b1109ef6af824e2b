// What the kernel tells about one sleep: read before it and again after the resume, and put
// together into what the machine really did. A figure whose file the machine lacks is unknown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ports/sleep_facts_port.h"

struct BeforeSleep {
  bool hibernate = false;
  SleepClocks clocks;
  std::string state;  // the bracketed choice of mem_sleep (sleep) or disk (hibernate)
  std::optional<uint64_t> successes, failures, total_hw_sleep_us;
};

struct SleepReading {
  bool hibernate = false;
  std::string state;                    // "s2idle", "deep", "shallow"; "platform" ... ; empty: unknown
  uint64_t asleep_ms = 0;               // the boot clock's lead over the monotonic one grew by this
  std::optional<uint64_t> hw_sleep_us;  // in the lowest hardware state (s2idle only)
  std::optional<bool>
      hw_sleep_wrapped;  // the sleep outlasted what the counter holds: the figure is unreliable
  std::optional<bool> alarm_rang;
  std::optional<int> wake_irq;
  std::string wake_irq_name;
  enum class Suspend { ok, failed, unknown } suspend = Suspend::unknown;
  std::string failed_step, failed_device;
};

BeforeSleep read_before_sleep(SleepFactsPort& facts, bool hibernate);
// `alarm_armed`: a wake alarm was set for this sleep, so an empty wakealarm afterwards means it rang.
SleepReading read_after_resume(SleepFactsPort& facts, const BeforeSleep& before, bool alarm_armed);

// The hardware sleep's share of the time asleep, in tenths of a percent.
std::optional<uint64_t> hw_sleep_permille(const SleepReading& reading);
// "rtc alarm (irq 8 rtc0)", "irq 1 i8042", "rtc alarm", or empty when nothing tells.
std::string wake_source(const SleepReading& reading);
// The panel's one line: "s2idle, asleep 600.1 s, hardware sleep 98.2 %, woken by rtc alarm".
std::string sleep_verdict(const SleepReading& reading);

// The entry in brackets: "s2idle [deep]" gives "deep"; empty without one.
std::string bracketed_choice(std::string_view text);
// What /proc/interrupts names an interrupt: "i8042", "i801_smbus, idma64.0"; empty when not listed.
std::string interrupt_name(std::string_view interrupts, int irq);
// "600123" milliseconds as "600.123" (three decimals) or "600.1" (one).
std::string seconds_text(uint64_t milliseconds, int decimals);
// Tenths as "98.2".
std::string tenths_text(uint64_t tenths);
