// The simulated laptop's Li-ion pack: charge that drains or charges as time passes.
#pragma once

#include <cstdint>

#include "posix/monotonic_clock.h"

// A 3-cell pack: 57 Wh designed, somewhat worn.
constexpr uint32_t kDesignedCapacityMwh = 57000;
constexpr uint32_t kFullChargedCapacityMwh = 52120;
constexpr uint32_t kAlert1Mwh = 1560;  // about 3 % of full
constexpr uint32_t kAlert2Mwh = 2610;  // about 5 % of full
constexpr uint32_t kCycleCount = 112;

struct BatteryReading {
  uint32_t power_state;  // BATTERY_* flags
  uint32_t capacity_mwh;
  uint32_t voltage_mv;
  int32_t rate_mw;  // negative while discharging
};

class BatteryModel {
 public:
  // Starts at `start_fraction` of the full-charged capacity, on battery.
  BatteryModel(MonotonicClock& clock, double start_fraction);

  // Brings the charge up to the clock's present, then reads it.
  BatteryReading read();

  bool ac_online() const { return ac_online_; }
  // The charge up to now was drained or charged under the old power source.
  void set_ac_online(bool online);

  // From now on the machine sleeps: the pack feeds only `load_mw`, and each millisecond of the clock
  // counts as `time_scale` milliseconds of sleep, so a short sleep shows a measurable drain.
  void fall_asleep(double load_mw, double time_scale);
  // The sleep up to now is drained; the normal load and time run again.
  void wake_up();
  bool asleep() const { return asleep_; }

 private:
  void advance();
  // Power drawn from (negative) or fed into (positive) the pack at `at_ms`, in milliwatts.
  double power_mw(uint64_t at_ms) const;

  MonotonicClock& clock_;
  uint64_t start_ms_;
  uint64_t updated_ms_;
  double charge_mwh_;
  bool ac_online_ = false;
  bool asleep_ = false;
  double sleep_load_mw_ = 0.0;
  double sleep_time_scale_ = 1.0;
};
