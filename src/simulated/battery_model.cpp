#include "simulated/battery_model.h"

#include <algorithm>
#include <cmath>

#include "common/win_types.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStepMs = 1000.0;
constexpr double kMaxChargeMw = 30000.0;
constexpr double kTaperStart = 0.8;  // constant power below, tapering to zero at full
constexpr double kEmptyMv = 10800.0;
constexpr double kFullMv = 12600.0;

}  // namespace

BatteryModel::BatteryModel(MonotonicClock& clock, double start_fraction)
    : clock_(clock),
      start_ms_(clock.milliseconds()),
      updated_ms_(start_ms_),
      charge_mwh_(start_fraction * kFullChargedCapacityMwh) {}

double BatteryModel::power_mw(uint64_t at_ms) const {
  const double fraction = charge_mwh_ / kFullChargedCapacityMwh;
  if (asleep_ && !ac_online_) {
    return -sleep_load_mw_;
  }
  if (ac_online_) {
    if (fraction >= 1.0) {
      return 0.0;
    }
    const double taper = fraction <= kTaperStart ? 1.0 : (1.0 - fraction) / (1.0 - kTaperStart);
    return std::max(kMaxChargeMw * taper, 1500.0);
  }
  // A load that wanders between about 8 and 15 W, the same way on every run.
  const double seconds = static_cast<double>(at_ms - start_ms_) / 1000.0;
  const double wander =
      2.5 * std::sin(2.0 * kPi * seconds / 97.0) + 1.0 * std::sin(2.0 * kPi * seconds / 23.0);
  return -(11500.0 + 1000.0 * wander);
}

void BatteryModel::advance() {
  const uint64_t now = clock_.milliseconds();
  while (updated_ms_ < now) {
    const double step_ms = std::min(kStepMs, static_cast<double>(now - updated_ms_));
    // Only the sleep drain runs fast; a charger goes on at its own pace.
    const double scale = (asleep_ && !ac_online_) ? sleep_time_scale_ : 1.0;
    charge_mwh_ += power_mw(updated_ms_) * step_ms * scale / 3600000.0;
    charge_mwh_ = std::clamp(charge_mwh_, 0.0, static_cast<double>(kFullChargedCapacityMwh));
    updated_ms_ += static_cast<uint64_t>(step_ms);
  }
}

void BatteryModel::set_ac_online(bool online) {
  advance();
  ac_online_ = online;
}

void BatteryModel::fall_asleep(double load_mw, double time_scale) {
  advance();
  asleep_ = true;
  sleep_load_mw_ = load_mw;
  sleep_time_scale_ = time_scale;
}

void BatteryModel::wake_up() {
  advance();
  asleep_ = false;
}

BatteryReading BatteryModel::read() {
  using namespace battery_class;
  advance();
  const double power = power_mw(updated_ms_);
  const double fraction = charge_mwh_ / kFullChargedCapacityMwh;

  BatteryReading reading{};
  reading.capacity_mwh = static_cast<uint32_t>(charge_mwh_);
  if (ac_online_) {
    reading.power_state = BATTERY_POWER_ON_LINE | (power > 0.0 ? BATTERY_CHARGING : 0);
  } else {
    reading.power_state = BATTERY_DISCHARGING | (reading.capacity_mwh <= kAlert1Mwh ? BATTERY_CRITICAL : 0);
  }
  reading.rate_mw = static_cast<int32_t>(std::lround(power));
  // Resting voltage rises with charge; a load pulls it down, a charger pushes it up.
  const double voltage = kEmptyMv + (kFullMv - kEmptyMv) * fraction + power * 0.01;
  reading.voltage_mv = static_cast<uint32_t>(std::lround(voltage));
  return reading;
}
