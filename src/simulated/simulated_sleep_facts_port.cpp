#include "simulated/simulated_sleep_facts_port.h"

#include <string>

namespace {

constexpr int kKeyboardIrq = 1;
constexpr int kRtcIrq = 8;
constexpr char kInterrupts[] =
    "           CPU0       CPU1\n"
    "  0:         46          0   IO-APIC    2-edge      timer\n"
    "  1:        812          0   IO-APIC    1-edge      i8042\n"
    "  8:          3          0   IO-APIC    8-edge      rtc0\n"
    "  9:        174          0   IO-APIC    9-fasteoi   acpi\n";

std::string line(uint64_t value) {
  return std::to_string(value) + "\n";
}

}  // namespace

std::optional<std::string> SimulatedSleepFactsPort::read(SleepFact fact) {
  const SimulatedSleeps& sleeps = power_.sleeps();
  const bool slept = sleeps.suspends > 0 || sleeps.asleep_ms > 0;
  switch (fact) {
    case SleepFact::mem_sleep:
      return "[s2idle]\n";
    case SleepFact::disk:
      return "[platform] shutdown reboot suspend\n";
    case SleepFact::success:
      return line(static_cast<uint64_t>(sleeps.suspends));
    case SleepFact::fail:
      return "0\n";
    case SleepFact::last_failed_step:
    case SleepFact::last_failed_dev:
      return "\n";
    case SleepFact::last_hw_sleep:
      return line(sleeps.last_hw_sleep_us);
    case SleepFact::total_hw_sleep:
      return line(sleeps.total_hw_sleep_us);
    case SleepFact::max_hw_sleep:
      return "4294967295\n";  // a 32-bit counter of microseconds
    case SleepFact::wakeup_irq:
      if (!slept) {
        return std::nullopt;  // nothing recorded yet
      }
      return line(static_cast<uint64_t>(sleeps.last_woken_by_timer ? kRtcIrq : kKeyboardIrq));
    case SleepFact::wake_alarm:
      // The alarm's own time is of no use to anyone here; whether one is pending is.
      return sleeps.alarm_pending ? "1\n" : "\n";
    case SleepFact::interrupts:
      return std::string(kInterrupts);
  }
  return std::nullopt;
}

SleepClocks SimulatedSleepFactsPort::read_clocks() {
  const SimulatedSleeps& sleeps = power_.sleeps();
  const uint64_t monotonic = power_.clock().milliseconds() - sleeps.awake_lost_ms;
  return {monotonic, monotonic + sleeps.asleep_ms};
}
