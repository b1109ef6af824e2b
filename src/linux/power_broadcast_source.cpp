#include "linux/power_broadcast_source.h"

#include <systemd/sd-bus.h>
#include <systemd/sd-device.h>
#include <systemd/sd-event.h>

#include <climits>
#include <cstring>

namespace {

// What the callbacks saw during one drain; the source stamps it with its clock afterwards.
struct Pending {
  bool supply_changed = false;
  bool supply_added_or_removed = false;
  std::vector<bool> sleeps;  // PrepareForSleep arguments, in arrival order
};

int on_supply(sd_device_monitor*, sd_device* device, void* data) {
  sd_device_action_t action{};
  // A supply that comes or goes (a pack pulled, a dock) changes the power source as much as a plug.
  if (sd_device_get_action(device, &action) >= 0 &&
      (action == SD_DEVICE_CHANGE || action == SD_DEVICE_ADD || action == SD_DEVICE_REMOVE)) {
    auto* pending = static_cast<Pending*>(data);
    pending->supply_changed = true;
    pending->supply_added_or_removed |= action != SD_DEVICE_CHANGE;
  }
  return 0;
}

int on_prepare_for_sleep(sd_bus_message* message, void* data, sd_bus_error*) {
  int starting = 0;
  if (sd_bus_message_read(message, "b", &starting) >= 0) {
    static_cast<Pending*>(data)->sleeps.push_back(starting != 0);
  }
  return 0;
}

}  // namespace

struct PowerBroadcastSource::Kernel {
  sd_event* event = nullptr;
  sd_device_monitor* monitor = nullptr;
  sd_bus* bus = nullptr;
  sd_bus_slot* sleep_match = nullptr;
  Pending pending;
  std::string problem;

  Kernel() {
    const int made = sd_event_new(&event);
    if (made < 0) {
      note("event loop", made);
      return;
    }
    start_monitor();
    start_bus();
  }

  ~Kernel() {
    sd_bus_slot_unref(sleep_match);
    if (bus != nullptr) {
      sd_bus_detach_event(bus);
      sd_bus_flush_close_unref(bus);
    }
    if (monitor != nullptr) {
      sd_device_monitor_stop(monitor);
      sd_device_monitor_detach_event(monitor);
      sd_device_monitor_unref(monitor);
    }
    sd_event_unref(event);
  }
  Kernel(const Kernel&) = delete;
  Kernel& operator=(const Kernel&) = delete;

  void start_monitor() {
    int result = sd_device_monitor_new(&monitor);
    if (result >= 0) {
      result = sd_device_monitor_filter_add_match_subsystem_devtype(monitor, "power_supply", nullptr);
    }
    if (result >= 0) {
      result = sd_device_monitor_attach_event(monitor, event);
    }
    if (result >= 0) {
      result = sd_device_monitor_start(monitor, on_supply, &pending);
    }
    if (result < 0) {
      note("uevent monitor", result);
      monitor = sd_device_monitor_unref(monitor);
    }
  }

  void start_bus() {
    int result = sd_bus_open_system(&bus);
    if (result >= 0) {
      result = sd_bus_match_signal(bus, &sleep_match, "org.freedesktop.login1", "/org/freedesktop/login1",
                                   "org.freedesktop.login1.Manager", "PrepareForSleep", on_prepare_for_sleep,
                                   &pending);
    }
    if (result >= 0) {
      result = sd_bus_attach_event(bus, event, SD_EVENT_PRIORITY_NORMAL);
    }
    if (result < 0) {
      note("system bus", result);
      sleep_match = sd_bus_slot_unref(sleep_match);
      bus = sd_bus_flush_close_unref(bus);
    }
  }

  void note(const char* what, int error) {
    if (!problem.empty()) {
      problem += "; ";
    }
    problem += what;
    problem += ": ";
    problem += std::strerror(-error);
  }
};

PowerBroadcastSource::PowerBroadcastSource(PowerClocks& clocks, std::function<uint32_t()> power_state,
                                           std::function<void()> supplies_changed)
    : clocks_(clocks),
      schedule_(std::move(power_state)),
      supplies_changed_(std::move(supplies_changed)),
      kernel_(std::make_unique<Kernel>()) {
  schedule_.set_sleep_signals(kernel_->bus != nullptr);
  schedule_.take_due(clocks_.read());  // the clocks' first reading is the baseline
}

PowerBroadcastSource::~PowerBroadcastSource() = default;

int PowerBroadcastSource::fd() const {
  return kernel_->event != nullptr && (kernel_->monitor != nullptr || kernel_->bus != nullptr)
             ? sd_event_get_fd(kernel_->event)
             : -1;
}

int PowerBroadcastSource::timeout_ms() {
  const auto due = schedule_.ms_until_due(clocks_.read().monotonic_ms);
  if (!due) {
    return -1;
  }
  return *due > static_cast<uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(*due);
}

std::vector<WPARAM> PowerBroadcastSource::drain() {
  if (kernel_->event != nullptr) {
    // Dispatch everything already there, without waiting; a bounded number of rounds.
    for (int round = 0; round < 1000 && sd_event_run(kernel_->event, 0) > 0; ++round) {
    }
  }
  const ClockReading now = clocks_.read();
  Pending& pending = kernel_->pending;
  if (pending.supply_changed) {
    schedule_.supply_changed(now.monotonic_ms);
  }
  for (bool starting : pending.sleeps) {
    schedule_.prepare_for_sleep(starting, now.monotonic_ms);
  }
  const bool added_or_removed = pending.supply_added_or_removed;
  pending = Pending{};
  std::vector<WPARAM> due = schedule_.take_due(now);
  if (supplies_changed_ && (added_or_removed || !due.empty())) {
    supplies_changed_();
  }
  return due;
}

bool PowerBroadcastSource::monitoring_uevents() const {
  return kernel_->monitor != nullptr;
}

bool PowerBroadcastSource::watching_logind() const {
  return kernel_->bus != nullptr;
}

const std::string& PowerBroadcastSource::problem() const {
  return kernel_->problem;
}
