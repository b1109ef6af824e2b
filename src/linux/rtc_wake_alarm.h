// The RTC wake alarm that stands in for a waitable timer with resume, and the RTC's own wake-up
// setting that stands in for the power scheme's allow-wake-timers setting. Both are sysfs files under
// the RTC's directory (/sys/class/rtc/rtc0 on a real machine); writing them needs root.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

constexpr const char* kRtcRoot = "/sys/class/rtc/rtc0";

class RtcWakeAlarm {
 public:
  explicit RtcWakeAlarm(std::string root = kRtcRoot) : root_(std::move(root)) {}

  // Clears any alarm (the kernel refuses a new one over a pending one), then sets it; false with the
  // reason in last_error() when either write fails.
  bool arm(int64_t epoch_seconds);
  bool clear();
  // power/wakeup of the RTC's device set to "enabled": a lasting change, as the power scheme's is.
  bool enable_wakeup();

  // What the files say now.
  std::optional<int64_t> armed_for() const;
  std::optional<bool> wakeup_enabled() const;
  bool exists() const;
  // Whether this process may set the alarm.
  bool writable() const;

  const std::string& last_error() const { return last_error_; }

 private:
  bool write(const std::string& relative, const std::string& text);

  std::string root_;
  std::string last_error_;
};
