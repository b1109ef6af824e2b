// The two clocks that tell a sleep from the outside: a seam, so tests can let time pass.
#pragma once

#include "linux/broadcast_schedule.h"

class PowerClocks {
 public:
  virtual ~PowerClocks() = default;
  virtual ClockReading read() = 0;
};

// CLOCK_MONOTONIC and CLOCK_BOOTTIME.
class SystemPowerClocks final : public PowerClocks {
 public:
  ClockReading read() override;
};
