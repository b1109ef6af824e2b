// The WM_POWERBROADCAST events the simulated system sends; they wait in a queue until the main loop
// is free again, as window messages wait while the thread is held in a suspend request.
#pragma once

#include <deque>

#include "common/win_types.h"

namespace power_broadcast {
constexpr WPARAM PBT_APMRESUMESUSPEND = 0x7;     // the user woke the machine
constexpr WPARAM PBT_APMRESUMEAUTOMATIC = 0x12;  // the machine woke, by whatever cause
}  // namespace power_broadcast

class PowerBroadcastQueue {
 public:
  void post(WPARAM event) { events_.push_back(event); }
  bool empty() const { return events_.empty(); }
  WPARAM take() {
    const WPARAM event = events_.front();
    events_.pop_front();
    return event;
  }
  size_t size() const { return events_.size(); }

 private:
  std::deque<WPARAM> events_;
};
