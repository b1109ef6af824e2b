#include "linux/logind_bus.h"

#include <systemd/sd-bus.h>
#include <time.h>

#include <algorithm>
#include <cstring>

#include "common/scoped_owner.h"

namespace {

constexpr char kLogind[] = "org.freedesktop.login1";
constexpr char kManagerPath[] = "/org/freedesktop/login1";
constexpr char kManager[] = "org.freedesktop.login1.Manager";

// How soon a stop is noticed when no signal cuts the wait short.
constexpr uint64_t kStopCheckUs = 200'000;

// One bus connection, closed on every way out; holds nothing when it could not be made. Its method
// calls give up after `call_ms`.
auto connect_bus(const std::string& address, int call_ms, std::string& error) {
  sd_bus* bus = nullptr;
  int result = 0;
  if (address.empty()) {
    result = sd_bus_open_system(&bus);
  } else {
    result = sd_bus_new(&bus);
    if (result >= 0) {
      sd_bus_set_address(bus, address.c_str());
      sd_bus_set_bus_client(bus, 1);
      result = sd_bus_start(bus);
    }
  }
  if (result < 0) {
    error = std::string("system bus: ") + std::strerror(-result);
    bus = sd_bus_flush_close_unref(bus);
  } else {
    sd_bus_set_method_call_timeout(bus, static_cast<uint64_t>(call_ms) * 1000u);
  }
  return scoped_owner<sd_bus*>(bus, [](sd_bus* open) { sd_bus_flush_close_unref(open); });
}

// The error a call filled in, freed on every way out.
auto freed_on_exit(sd_bus_error& error) {
  return scoped_owner<sd_bus_error*>(&error, [](sd_bus_error* filled) { sd_bus_error_free(filled); });
}

std::string error_text(const sd_bus_error& error) {
  return error.message != nullptr ? error.message : error.name != nullptr ? error.name : "";
}

std::string in_seconds(int milliseconds) {
  return std::to_string((milliseconds + 999) / 1000) + " s";
}

// Why a call failed, for the status strip.
std::string call_error(const char* method, const sd_bus_error& error, int result, int call_ms) {
  if (result == -ETIMEDOUT) {
    return std::string(method) + ": no answer from logind within " + in_seconds(call_ms);
  }
  return std::string(method) + ": " + error_text(error);
}

bool logind_missing(const sd_bus_error& error, int result) {
  return result == -ENOENT || result == -ECONNREFUSED ||
         sd_bus_error_has_name(&error, SD_BUS_ERROR_SERVICE_UNKNOWN) ||
         sd_bus_error_has_name(&error, SD_BUS_ERROR_NAME_HAS_NO_OWNER);
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

// The resume can take any time; only the start of the sleep is bounded. The wait is cut into short
// slices so that `stop` is asked often, and a signal ends a slice at once.
SleepOutcome wait_for_resume(sd_bus* bus, const SleepWatch& watch, const char* method, int sleep_start_ms,
                             const StopCheck& stop, std::string& reason) {
  const uint64_t start_by = monotonic_us() + static_cast<uint64_t>(sleep_start_ms) * 1000u;
  while (!watch.resumed) {
    if (stop && stop()) {
      reason = std::string(method) + ": stopped while waiting for the resume";
      return SleepOutcome::stopped;
    }
    const int result = sd_bus_process(bus, nullptr);
    if (result < 0) {
      reason = std::string("system bus: ") + std::strerror(-result);
      return watch.started ? SleepOutcome::refused : SleepOutcome::no_sleep;
    }
    if (result > 0) {
      continue;
    }
    const uint64_t now = monotonic_us();
    if (!watch.started && now >= start_by) {
      reason = std::string(method) + ": accepted, but no sleep began within " + in_seconds(sleep_start_ms);
      return SleepOutcome::no_sleep;
    }
    const uint64_t slice = watch.started ? kStopCheckUs : std::min(kStopCheckUs, start_by - now);
    sd_bus_wait(bus, slice);  // -EINTR on a signal: the loop asks `stop` next
  }
  return SleepOutcome::resumed;
}

}  // namespace

SleepOutcome LogindBus::sleep(const char* method, const StopCheck& stop) {
  last_error_.clear();
  const auto bus = connect_bus(address_, timeouts_.call_ms, last_error_);
  if (bus.get() == nullptr) {
    return SleepOutcome::absent;
  }
  SleepWatch watch;
  // Declared after the watch its callback writes to, so the match goes first.
  auto slot = scoped_owner<sd_bus_slot*>(nullptr, [](sd_bus_slot* match) { sd_bus_slot_unref(match); });
  // The match goes in before the request, so a resume signal that follows at once is not missed.
  int result = sd_bus_match_signal(bus.get(), slot.receive(), kLogind, kManagerPath, kManager,
                                   "PrepareForSleep", on_prepare_for_sleep, &watch);
  if (result < 0) {
    last_error_ = std::string("PrepareForSleep: ") + std::strerror(-result);
    return SleepOutcome::absent;
  }
  sd_bus_error error = SD_BUS_ERROR_NULL;
  const auto error_owner = freed_on_exit(error);
  sd_bus_message* reply = nullptr;
  result = sd_bus_call_method(bus.get(), kLogind, kManagerPath, kManager, method, &error, &reply, "b", 0);
  sd_bus_message_unref(reply);
  if (result < 0) {
    last_error_ = call_error(method, error, result, timeouts_.call_ms);
    return logind_missing(error, result) ? SleepOutcome::absent : SleepOutcome::refused;
  }
  return wait_for_resume(bus.get(), watch, method, timeouts_.sleep_start_ms, stop, last_error_);
}

std::optional<std::string> LogindBus::can(const char* question) {
  last_error_.clear();
  const auto bus = connect_bus(address_, timeouts_.call_ms, last_error_);
  if (bus.get() == nullptr) {
    return std::nullopt;
  }
  sd_bus_error error = SD_BUS_ERROR_NULL;
  const auto error_owner = freed_on_exit(error);
  sd_bus_message* reply = nullptr;
  const int result =
      sd_bus_call_method(bus.get(), kLogind, kManagerPath, kManager, question, &error, &reply, "");
  const auto reply_owner =
      scoped_owner<sd_bus_message*>(reply, [](sd_bus_message* m) { sd_bus_message_unref(m); });
  const char* answer = nullptr;
  if (result < 0 || sd_bus_message_read(reply, "s", &answer) < 0 || answer == nullptr) {
    last_error_ = std::string(question) + ": " + (result < 0 ? error_text(error) : "no answer");
    return std::nullopt;
  }
  return std::string(answer);
}

bool LogindBus::power_off() {
  last_error_.clear();
  const auto bus = connect_bus(address_, timeouts_.call_ms, last_error_);
  if (bus.get() == nullptr) {
    return false;
  }
  sd_bus_error error = SD_BUS_ERROR_NULL;
  const auto error_owner = freed_on_exit(error);
  const int result =
      sd_bus_call_method(bus.get(), kLogind, kManagerPath, kManager, "PowerOff", &error, nullptr, "b", 0);
  if (result < 0) {
    last_error_ = call_error("PowerOff", error, result, timeouts_.call_ms);
    return false;
  }
  return true;
}

bool LogindBus::set_brightness(const std::string& device, uint32_t value) {
  last_error_.clear();
  const auto bus = connect_bus(address_, timeouts_.call_ms, last_error_);
  if (bus.get() == nullptr) {
    return false;
  }
  sd_bus_error error = SD_BUS_ERROR_NULL;
  const auto error_owner = freed_on_exit(error);
  const int result = sd_bus_call_method(bus.get(), kLogind, "/org/freedesktop/login1/session/auto",
                                        "org.freedesktop.login1.Session", "SetBrightness", &error, nullptr,
                                        "ssu", "backlight", device.c_str(), value);
  if (result < 0) {
    last_error_ = call_error("SetBrightness", error, result, timeouts_.call_ms);
    return false;
  }
  return true;
}
