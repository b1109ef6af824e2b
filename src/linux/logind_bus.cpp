#include "linux/logind_bus.h"

#include <systemd/sd-bus.h>
#include <time.h>

#include <cstring>

namespace {

constexpr char kLogind[] = "org.freedesktop.login1";
constexpr char kManagerPath[] = "/org/freedesktop/login1";
constexpr char kManager[] = "org.freedesktop.login1.Manager";

// One bus connection, closed on every way out.
class BusConnection {
 public:
  BusConnection(const std::string& address, std::string& error) {
    int result = 0;
    if (address.empty()) {
      result = sd_bus_open_system(&bus_);
    } else {
      result = sd_bus_new(&bus_);
      if (result >= 0) {
        sd_bus_set_address(bus_, address.c_str());
        sd_bus_set_bus_client(bus_, 1);
        result = sd_bus_start(bus_);
      }
    }
    if (result < 0) {
      error = std::string("system bus: ") + std::strerror(-result);
      bus_ = sd_bus_flush_close_unref(bus_);
    }
  }
  ~BusConnection() { sd_bus_flush_close_unref(bus_); }
  BusConnection(const BusConnection&) = delete;
  BusConnection& operator=(const BusConnection&) = delete;
  sd_bus* get() const { return bus_; }

 private:
  sd_bus* bus_ = nullptr;
};

class BusError {
 public:
  ~BusError() { sd_bus_error_free(&error_); }
  sd_bus_error* get() { return &error_; }
  std::string text() const {
    return error_.message != nullptr ? error_.message : error_.name != nullptr ? error_.name : "";
  }

 private:
  sd_bus_error error_ = SD_BUS_ERROR_NULL;
};

bool logind_missing(const BusError& error, int result) {
  return result == -ENOENT || result == -ECONNREFUSED ||
         sd_bus_error_has_name(const_cast<BusError&>(error).get(), SD_BUS_ERROR_SERVICE_UNKNOWN) ||
         sd_bus_error_has_name(const_cast<BusError&>(error).get(), SD_BUS_ERROR_NAME_HAS_NO_OWNER);
}

struct SleepWatch {
  bool started = false;
  bool resumed = false;
};

int on_prepare_for_sleep(sd_bus_message* message, void* data, sd_bus_error*) {
  int starting = 0;
  if (sd_bus_message_read(message, "b", &starting) >= 0) {
    SleepWatch& watch = *static_cast<SleepWatch*>(data);
    (starting != 0 ? watch.started : watch.resumed) = true;
  }
  return 0;
}

uint64_t monotonic_us() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1'000'000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
}

}  // namespace

SleepOutcome LogindBus::sleep(const char* method) {
  last_error_.clear();
  BusConnection bus(address_, last_error_);
  if (bus.get() == nullptr) {
    return SleepOutcome::absent;
  }
  SleepWatch watch;
  sd_bus_slot* slot = nullptr;
  // The match goes in before the request, so a resume signal that follows at once is not missed.
  int result = sd_bus_match_signal(bus.get(), &slot, kLogind, kManagerPath, kManager, "PrepareForSleep",
                                   on_prepare_for_sleep, &watch);
  if (result < 0) {
    last_error_ = std::string("PrepareForSleep: ") + std::strerror(-result);
    return SleepOutcome::absent;
  }
  BusError error;
  sd_bus_message* reply = nullptr;
  result =
      sd_bus_call_method(bus.get(), kLogind, kManagerPath, kManager, method, error.get(), &reply, "b", 0);
  sd_bus_message_unref(reply);
  if (result < 0) {
    last_error_ = std::string(method) + ": " + error.text();
    sd_bus_slot_unref(slot);
    return logind_missing(error, result) ? SleepOutcome::absent : SleepOutcome::refused;
  }
  // The resume can take any time; only the start of the sleep is bounded.
  const uint64_t start_by = monotonic_us() + static_cast<uint64_t>(timeouts_.sleep_start_ms) * 1000u;
  while (!watch.resumed) {
    result = sd_bus_process(bus.get(), nullptr);
    if (result < 0) {
      last_error_ = std::string("system bus: ") + std::strerror(-result);
      break;
    }
    if (result > 0) {
      continue;
    }
    const uint64_t now = monotonic_us();
    if (!watch.started && now >= start_by) {
      break;
    }
    sd_bus_wait(bus.get(), watch.started ? UINT64_MAX : start_by - now);
  }
  sd_bus_slot_unref(slot);
  if (watch.resumed) {
    return SleepOutcome::resumed;
  }
  if (last_error_.empty()) {
    last_error_ = std::string(method) + ": accepted, but no sleep began";
  }
  return watch.started ? SleepOutcome::refused : SleepOutcome::no_sleep;
}

bool LogindBus::power_off() {
  last_error_.clear();
  BusConnection bus(address_, last_error_);
  if (bus.get() == nullptr) {
    return false;
  }
  BusError error;
  const int result = sd_bus_call_method(bus.get(), kLogind, kManagerPath, kManager, "PowerOff", error.get(),
                                        nullptr, "b", 0);
  if (result < 0) {
    last_error_ = "PowerOff: " + error.text();
    return false;
  }
  return true;
}

bool LogindBus::set_brightness(const std::string& device, uint32_t value) {
  last_error_.clear();
  BusConnection bus(address_, last_error_);
  if (bus.get() == nullptr) {
    return false;
  }
  BusError error;
  const int result = sd_bus_call_method(bus.get(), kLogind, "/org/freedesktop/login1/session/auto",
                                        "org.freedesktop.login1.Session", "SetBrightness", error.get(),
                                        nullptr, "ssu", "backlight", device.c_str(), value);
  if (result < 0) {
    last_error_ = "SetBrightness: " + error.text();
    return false;
  }
  return true;
}
