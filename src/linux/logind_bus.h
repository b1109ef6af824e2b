// Calls on logind over sd-bus: the suspend, hibernate and power-off requests, the wait for the resume
// that follows a suspend, and a session's backlight brightness. The bus is the system bus, or the one
// at `address` when given (a test's private bus).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class SleepOutcome {
  resumed,   // PrepareForSleep(false) came back
  refused,   // logind answered with an error
  absent,    // no bus, or no logind on it
  no_sleep,  // accepted, but no sleep began in time (an inhibitor, or nothing to suspend)
};

struct LogindTimeouts {
  int sleep_start_ms = 30'000;  // from the accepted request to PrepareForSleep(true)
};

class LogindBus {
 public:
  explicit LogindBus(std::string address = {}, LogindTimeouts timeouts = {})
      : address_(std::move(address)), timeouts_(timeouts) {}

  // "Suspend" or "Hibernate" with interactive = false; returns once the machine has resumed, or
  // at once on a refusal.
  SleepOutcome sleep(const char* method);
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
