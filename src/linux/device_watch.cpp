#include "linux/device_watch.h"

#include <systemd/sd-device.h>
#include <systemd/sd-event.h>

#include <cstring>
#include <string_view>

namespace {

constexpr const char* kWatchedSubsystems[] = {"backlight", "rfkill", "sound", "rtc"};

int on_device(sd_device_monitor*, sd_device* device, void* data) {
  const char* subsystem = nullptr;
  if (sd_device_get_subsystem(device, &subsystem) < 0 || subsystem == nullptr) {
    return 0;
  }
  DeviceChanges& changes = *static_cast<DeviceChanges*>(data);
  const std::string_view name = subsystem;
  changes.backlight |= name == "backlight";
  changes.rfkill |= name == "rfkill";
  changes.sound |= name == "sound";
  changes.rtc |= name == "rtc";
  return 0;
}

}  // namespace

struct DeviceWatch::Monitor {
  sd_event* event = nullptr;
  sd_device_monitor* monitor = nullptr;
  DeviceChanges pending;
  std::string problem;

  Monitor() {
    int result = sd_event_new(&event);
    if (result >= 0) {
      result = sd_device_monitor_new(&monitor);
    }
    for (const char* subsystem : kWatchedSubsystems) {
      if (result >= 0) {
        result = sd_device_monitor_filter_add_match_subsystem_devtype(monitor, subsystem, nullptr);
      }
    }
    if (result >= 0) {
      result = sd_device_monitor_attach_event(monitor, event);
    }
    if (result >= 0) {
      result = sd_device_monitor_start(monitor, on_device, &pending);
    }
    if (result < 0) {
      problem = std::string("device monitor: ") + std::strerror(-result);
      release();
    }
  }
  ~Monitor() { release(); }
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  void release() {
    if (monitor != nullptr) {
      sd_device_monitor_stop(monitor);
      sd_device_monitor_detach_event(monitor);
      monitor = sd_device_monitor_unref(monitor);
    }
    event = sd_event_unref(event);
  }
};

DeviceWatch::DeviceWatch() : monitor_(std::make_unique<Monitor>()) {}

DeviceWatch::~DeviceWatch() = default;

int DeviceWatch::fd() const {
  return monitor_->monitor != nullptr ? sd_event_get_fd(monitor_->event) : -1;
}

DeviceChanges DeviceWatch::take() {
  if (monitor_->monitor != nullptr) {
    // Everything already there, without waiting; a bounded number of rounds.
    for (int round = 0; round < 1000 && sd_event_run(monitor_->event, 0) > 0; ++round) {
    }
  }
  const DeviceChanges changes = monitor_->pending;
  monitor_->pending = DeviceChanges{};
  return changes;
}

const std::string& DeviceWatch::problem() const {
  return monitor_->problem;
}
