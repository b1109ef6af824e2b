// Calls on logind over sd-bus: the suspend, hibernate and power-off requests, the wait for the resume
// that follows a suspend, and a session's backlight brightness. The bus is the system bus, or the one
// at `address` when given (a test's private bus).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

enum class SleepOutcome {
  resumed,   // PrepareForSleep(false) came back
  refused,   // logind answered with an error, or not in time
  absent,    // no bus, or no logind on it
  no_sleep,  // accepted, but no sleep began in time: as good as refused
  stopped,   // the caller gave the wait up (a signal, Ctrl+C)
};

struct LogindTimeouts {
  // logind answers a request once polkit has decided (never asking anyone: interactive is false);
  // the user waits on the panel meanwhile.
  int call_ms = 5'000;
  // logind sends PrepareForSleep(true) as it accepts a sleep, before any delay inhibitor holds it, so
  // anything much beyond a round trip means the sleep is not coming.
  int sleep_start_ms = 10'000;
};

// Asked at least every 200 ms while the program waits for a sleep to begin or end; true gives the
// wait up at once.
using StopCheck = std::function<bool()>;

class LogindBus {
 public:
  explicit LogindBus(std::string address = {}, LogindTimeouts timeouts = {})
      : address_(std::move(address)), timeouts_(timeouts) {}

  // "Suspend" or "Hibernate" with interactive = false; returns once the machine has resumed, at once
  // on a refusal, when no sleep has begun `sleep_start_ms` after the request was accepted, or when
  // `stop` says so. last_error() then tells why.
  SleepOutcome sleep(const char* method, const StopCheck& stop = {});
  // What logind answers to "CanSuspend", "CanHibernate" ...: "yes", "no", "challenge", "na"; nothing
  // when it cannot be asked.
  std::optional<std::string> can(const char* question);
  // PowerOff(false): true when logind accepted it.
  bool power_off();
  // Session.SetBrightness("backlight", device, value) on the caller's own session.
  bool set_brightness(const std::string& device, uint32_t value);

  // The last error as logind or sd-bus gave it, for the status strip.
  const std::string& last_error() const { return last_error_; }

 private:
  std::string address_;
  LogindTimeouts timeouts_;
  std::string last_error_;
};
