// The simulated kernel's waitable timers: relative due times on the monotonic clock, and whether a
// timer may wake the machine.
#pragma once

#include <map>
#include <optional>

#include "common/win_types.h"
#include "posix/monotonic_clock.h"

class WaitableTimers {
 public:
  explicit WaitableTimers(MonotonicClock& clock) : clock_(clock) {}

  HANDLE create(bool manual_reset);
  // `due_100ns` as SetWaitableTimer takes it; only the relative (negative or zero) form is known here.
  bool set(HANDLE timer, int64_t due_100ns, LONG period_ms, bool resume);
  bool close(HANDLE timer);
  bool owns(HANDLE handle) const { return timers_.count(handle) != 0; }

  // The earliest due time of a timer armed with the resume flag that has not yet fired.
  std::optional<uint64_t> next_resume_due() const;
  // Timers whose due time has come are signalled.
  void fire_due();
  bool signalled(HANDLE timer) const;
  size_t open_count() const { return timers_.size(); }

 private:
  struct Timer {
    bool manual_reset = true;
    bool armed = false;
    bool resume = false;
    bool signalled = false;
    uint64_t due_ms = 0;
  };

  MonotonicClock& clock_;
  std::map<HANDLE, Timer> timers_;
  uintptr_t next_handle_ = 0x3000;
};
