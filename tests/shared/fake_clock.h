// A monotonic clock the test moves by hand.
#pragma once

#include "posix/monotonic_clock.h"

class FakeClock final : public MonotonicClock {
 public:
  uint64_t milliseconds() override { return now_ms; }
  void advance_seconds(double seconds) { now_ms += static_cast<uint64_t>(seconds * 1000.0); }
  uint64_t now_ms = 1'000'000;
};
