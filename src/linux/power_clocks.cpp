#include "linux/power_clocks.h"

#include <time.h>

namespace {

uint64_t milliseconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

}  // namespace

ClockReading SystemPowerClocks::read() {
  return {milliseconds(CLOCK_MONOTONIC), milliseconds(CLOCK_BOOTTIME)};
}
