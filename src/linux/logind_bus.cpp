#include "linux/logind_bus.h"

#include <systemd/sd-bus.h>
#include <time.h>

#include <cstring>

#include "common/scoped_owner.h"

namespace {

constexpr char kLogind[] = "org.freedesktop.login1";
constexpr char kManagerPath[] = "/org/freedesktop/login1";
constexpr char kManager[] = "org.freedesktop.login1.Manager";

// One bus connection, closed on every way out; holds nothing when it could not be made.
auto connect_bus(const std::string& address, std::string& error) {
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

}  // namespace

SleepOutcome LogindBus::sleep(const char* method) {
  last_error_.clear();
  const auto bus = connect_bus(address_, last_error_);
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
    last_error_ = std::string(method) + ": " + error_text(error);
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
  slot.reset();
  if (watch.resumed) {
    return SleepOutcome::resumed;
  }
  if (last_error_.empty()) {
    last_error_ = std::string(method) + ": accepted, but no sleep began";
  }
  return watch.started ? SleepOutcome::refused : SleepOutcome::no_sleep;
}

std::optional<std::string> LogindBus::can(const char* question) {
  last_error_.clear();
  const auto bus = connect_bus(address_, last_error_);
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
  const auto bus = connect_bus(address_, last_error_);
  if (bus.get() == nullptr) {
    return false;
  }
  sd_bus_error error = SD_BUS_ERROR_NULL;
  const auto error_owner = freed_on_exit(error);
  const int result =
      sd_bus_call_method(bus.get(), kLogind, kManagerPath, kManager, "PowerOff", &error, nullptr, "b", 0);
  if (result < 0) {
    last_error_ = "PowerOff: " + error_text(error);
    return false;
  }
  return true;
}

bool LogindBus::set_brightness(const std::string& device, uint32_t value) {
  last_error_.clear();
  const auto bus = connect_bus(address_, last_error_);
  if (bus.get() == nullptr) {
    return false;
  }
  sd_bus_error error = SD_BUS_ERROR_NULL;
  const auto error_owner = freed_on_exit(error);
  const int result = sd_bus_call_method(bus.get(), kLogind, "/org/freedesktop/login1/session/auto",
                                        "org.freedesktop.login1.Session", "SetBrightness", &error, nullptr,
                                        "ssu", "backlight", device.c_str(), value);
  if (result < 0) {
    last_error_ = "SetBrightness: " + error_text(error);
    return false;
  }
  return true;
}
