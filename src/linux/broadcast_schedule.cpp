#include "linux/broadcast_schedule.h"

#include <algorithm>

using namespace power_broadcast;

void BroadcastSchedule::supply_changed(uint64_t monotonic_ms) {
  if (!burst_ends_) {
    burst_ends_ = monotonic_ms + kUeventBurstMs;
  }
}

void BroadcastSchedule::prepare_for_sleep(bool starting, uint64_t monotonic_ms) {
  if (starting) {
    ready_.push_back(PBT_APMSUSPEND);
    return;
  }
  // Nothing tells who woke the machine; Windows sends both when a person did.
  ready_.push_back(PBT_APMRESUMEAUTOMATIC);
  ready_.push_back(PBT_APMRESUMESUSPEND);
  // The adapter may have been plugged or pulled while the machine slept.
  watch_late_status(monotonic_ms);
}

void BroadcastSchedule::watch_late_status(uint64_t monotonic_ms) {
  watch_ends_ = monotonic_ms + kLateStatusWatchMs;
  next_probe_ = monotonic_ms + kLateStatusProbeMs;
  watched_state_ = power_state_();
}

std::vector<WPARAM> BroadcastSchedule::take_due(ClockReading now) {
  const uint64_t t = now.monotonic_ms;
  if (!sleep_signals_ && t >= next_clock_check_) {
    const uint64_t offset = now.boottime_ms >= t ? now.boottime_ms - t : 0;
    if (clock_offset_ && offset > *clock_offset_ + kSleepJumpMs) {
      prepare_for_sleep(false, t);
    }
    clock_offset_ = offset;
    next_clock_check_ = t + kClockCheckMs;
  }
  if (burst_ends_ && t >= *burst_ends_) {
    burst_ends_.reset();
    ready_.push_back(PBT_APMPOWERSTATUSCHANGE);
    watch_late_status(t);
  } else if (watch_ends_ && t >= next_probe_) {
    const uint32_t state = power_state_();
    if (state != watched_state_) {
      watched_state_ = state;
      ready_.push_back(PBT_APMPOWERSTATUSCHANGE);
    }
    next_probe_ = t + kLateStatusProbeMs;
    if (t >= *watch_ends_) {
      watch_ends_.reset();
    }
  }
  std::vector<WPARAM> due(ready_.begin(), ready_.end());
  ready_.clear();
  return due;
}

std::optional<uint64_t> BroadcastSchedule::ms_until_due(uint64_t monotonic_ms) const {
  if (!ready_.empty()) {
    return 0;
  }
  std::optional<uint64_t> due_at;
  const auto consider = [&](uint64_t at) { due_at = due_at ? std::min(*due_at, at) : at; };
  if (burst_ends_) {
    consider(*burst_ends_);
  }
  if (watch_ends_) {
    consider(next_probe_);
  }
  if (!sleep_signals_) {
    consider(next_clock_check_);
  }
  if (!due_at) {
    return std::nullopt;
  }
  return *due_at > monotonic_ms ? *due_at - monotonic_ms : 0;
}
