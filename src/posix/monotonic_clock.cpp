#include "posix/monotonic_clock.h"

#include <chrono>

uint64_t SteadyClock::milliseconds() {
  const auto since_epoch = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count());
}
