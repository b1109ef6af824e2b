// Milliseconds of a clock that never jumps: what the simulated laptop's physics and timers run on.
#pragma once

#include <cstdint>

class MonotonicClock {
 public:
  virtual ~MonotonicClock() = default;
  virtual uint64_t milliseconds() = 0;
};

// The machine's steady clock.
class SteadyClock final : public MonotonicClock {
 public:
  uint64_t milliseconds() override;
};
