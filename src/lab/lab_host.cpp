#include "lab/lab_host.h"

#include <algorithm>

#include "identity/board_identity.h"
#include "panel/panel.h"

namespace {

constexpr uint64_t kIdleWaitMs = 1000;  // without a timer, still look at the stop request now and then

}  // namespace

LabHost::LabHost(Laptop& laptop, MonotonicClock& clock, ClockPort& local_clock, LogFilePort& files,
                 LabWaiter& waiter, std::FILE* notices)
    : laptop_(laptop),
      clock_(clock),
      waiter_(waiter),
      dialog_(clock, notices),
      ports_(laptop.ports(dialog_, local_clock, files)) {}

void LabHost::start() {
  PanelState& state = *state_;
  state.host_window = dialog_.host_window();
  query_board_identity(state, laptop_.wmi());
  state.panel = dialog_.panel_window();
  dialog_.attach([this](UINT message, WPARAM wparam, LPARAM lparam) {
    return panel_dialog_message(*state_, ports_, message, wparam, lparam);
  });
  dialog_.SendMessageW(state.panel, WM_INITDIALOG, 0, 0);
}

void LabHost::press(int command_id) {
  dialog_.SendMessageW(state_->panel, WM_COMMAND, static_cast<WPARAM>(command_id), 0);
}

void LabHost::broadcast() {
  handle_power_broadcast(*state_, ports_);
}

void LabHost::deliver_broadcasts() {
  for (WPARAM event : laptop_.take_broadcasts()) {
    static_cast<void>(event);  // every event is handled alike
    broadcast();
  }
}

LabHost::Ended LabHost::run(std::optional<uint64_t> deadline_ms, const std::function<bool()>& done) {
  for (;;) {
    deliver_broadcasts();
    dialog_.run_due_timers();
    if (done && done()) {
      return Ended::done;
    }
    if (waiter_.stop_requested()) {
      return Ended::stopped;
    }
    const uint64_t now = clock_.milliseconds();
    if (deadline_ms && now >= *deadline_ms) {
      return Ended::deadline;
    }
    uint64_t wait_ms = kIdleWaitMs;
    if (const std::optional<uint64_t> due = dialog_.next_timer_due()) {
      wait_ms = *due > now ? *due - now : 0;
    }
    if (deadline_ms) {
      wait_ms = std::min(wait_ms, *deadline_ms - now);
    }
    const int broadcast_ms = laptop_.broadcast_timeout_ms();
    if (broadcast_ms >= 0) {
      wait_ms = std::min<uint64_t>(wait_ms, static_cast<uint64_t>(broadcast_ms));
    }
    waiter_.wait(laptop_.broadcast_fd(), static_cast<int>(wait_ms));
  }
}
