// When the real laptop sends which WM_POWERBROADCAST, from what the kernel and logind said and
// from the clocks. Time comes in from outside, so the decisions run without a machine to unplug.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "common/win_types.h"
#include "posix/power_broadcasts.h"

namespace power_broadcast {
constexpr WPARAM PBT_APMSUSPEND = 0x4;
constexpr WPARAM PBT_APMPOWERSTATUSCHANGE = 0xA;
}  // namespace power_broadcast

// One reading of both clocks: the boot clock runs on while the machine sleeps, the monotonic one stops.
struct ClockReading {
  uint64_t monotonic_ms = 0;
  uint64_t boottime_ms = 0;
};

// Uevents closer together than this are one change of power source.
constexpr uint64_t kUeventBurstMs = 1000;
// After a change, batteries report their new status late and without a uevent: watched this long.
constexpr uint64_t kLateStatusWatchMs = 5000;
constexpr uint64_t kLateStatusProbeMs = 1000;
// Without logind: a boot clock this far ahead of the monotonic one means the machine slept.
constexpr uint64_t kSleepJumpMs = 2000;
constexpr uint64_t kClockCheckMs = 1000;

class BroadcastSchedule {
 public:
  // `power_state` sums up AC on line and each battery's status; a change of it while watching
  // is a change of power source that came late.
  explicit BroadcastSchedule(std::function<uint32_t()> power_state) : power_state_(std::move(power_state)) {}

  // Where logind reports sleeps, the clocks are not watched.
  void set_sleep_signals(bool available) { sleep_signals_ = available; }
  void supply_changed(uint64_t monotonic_ms);
  void prepare_for_sleep(bool starting, uint64_t monotonic_ms);

  // The broadcasts due at `now`, in the order Windows sends them.
  std::vector<WPARAM> take_due(ClockReading now);
  // How long the caller may wait before asking again; nullopt: until an event arrives.
  std::optional<uint64_t> ms_until_due(uint64_t monotonic_ms) const;

 private:
  void watch_late_status(uint64_t monotonic_ms);

  std::function<uint32_t()> power_state_;
  bool sleep_signals_ = false;
  std::deque<WPARAM> ready_;
  std::optional<uint64_t> burst_ends_;
  std::optional<uint64_t> watch_ends_;
  uint64_t next_probe_ = 0;
  uint32_t watched_state_ = 0;
  std::optional<uint64_t> clock_offset_;  // boot clock minus monotonic clock
  uint64_t next_clock_check_ = 0;
};
