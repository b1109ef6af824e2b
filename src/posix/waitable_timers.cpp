#include "posix/waitable_timers.h"

HANDLE WaitableTimers::create(bool manual_reset) {
  next_handle_ += 4;  // kernel handles are multiples of four
  const HANDLE handle = reinterpret_cast<HANDLE>(next_handle_);
  timers_[handle] = Timer{manual_reset, false, false, false, 0};
  return handle;
}

bool WaitableTimers::set(HANDLE timer, int64_t due_100ns, LONG period_ms, bool resume) {
  const auto found = timers_.find(timer);
  // An absolute due time would need the wall clock, which no caller here uses.
  if (found == timers_.end() || due_100ns > 0 || period_ms < 0) {
    return false;
  }
  // Rounded up, so the timer never fires early.
  const uint64_t delay_ms = (static_cast<uint64_t>(-(due_100ns / 10)) + 999) / 1000;
  found->second.armed = true;
  found->second.resume = resume;
  found->second.signalled = false;
  found->second.due_ms = clock_.milliseconds() + delay_ms;
  return true;
}

bool WaitableTimers::close(HANDLE timer) {
  return timers_.erase(timer) == 1;
}

std::optional<uint64_t> WaitableTimers::next_resume_due() const {
  std::optional<uint64_t> due;
  for (const auto& [handle, timer] : timers_) {
    if (timer.armed && timer.resume && (!due || timer.due_ms < *due)) {
      due = timer.due_ms;
    }
  }
  return due;
}

void WaitableTimers::fire_due() {
  const uint64_t now = clock_.milliseconds();
  for (auto& [handle, timer] : timers_) {
    if (timer.armed && timer.due_ms <= now) {
      timer.armed = false;
      timer.signalled = true;
    }
  }
}

bool WaitableTimers::signalled(HANDLE timer) const {
  const auto found = timers_.find(timer);
  return found != timers_.end() && found->second.signalled;
}
