#include "simulated/battery_model.h"

#include <gtest/gtest.h>

#include "../shared/fake_clock.h"
#include "common/win_types.h"

using namespace battery_class;

namespace {

TEST(BatteryModel, DrainsAtEightToFifteenWattsWhileTimePasses) {
  FakeClock clock;
  BatteryModel model(clock, 0.8);
  BatteryReading previous = model.read();
  EXPECT_EQ(previous.capacity_mwh, static_cast<uint32_t>(0.8 * kFullChargedCapacityMwh));
  for (int minute = 0; minute < 30; ++minute) {
    clock.advance_seconds(60);
    const BatteryReading now = model.read();
    EXPECT_LE(now.capacity_mwh, previous.capacity_mwh);
    EXPECT_LE(now.rate_mw, -8000);
    EXPECT_GE(now.rate_mw, -15000);
    EXPECT_EQ(now.power_state, BATTERY_DISCHARGING);
    previous = now;
  }
  // 30 minutes at 8 to 15 W: 4 to 7.5 Wh.
  const uint32_t drained = static_cast<uint32_t>(0.8 * kFullChargedCapacityMwh) - previous.capacity_mwh;
  EXPECT_GE(drained, 4000u);
  EXPECT_LE(drained, 7500u);
}

TEST(BatteryModel, ReadingTwiceAtOneMomentChangesNothing) {
  FakeClock clock;
  BatteryModel model(clock, 0.5);
  clock.advance_seconds(10.5);
  const BatteryReading first = model.read();
  const BatteryReading second = model.read();
  EXPECT_EQ(first.capacity_mwh, second.capacity_mwh);
  EXPECT_EQ(first.rate_mw, second.rate_mw);
}

TEST(BatteryModel, VoltageFallsWithCharge) {
  FakeClock clock;
  BatteryModel full(clock, 1.0);
  BatteryModel low(clock, 0.1);
  const uint32_t full_mv = full.read().voltage_mv, low_mv = low.read().voltage_mv;
  EXPECT_GT(full_mv, low_mv);
  EXPECT_LE(full_mv, 12600u);
  EXPECT_GE(low_mv, 10500u);
}

TEST(BatteryModel, ChargesOnAcUntilFullThenOnlyReportsTheLine) {
  FakeClock clock;
  BatteryModel model(clock, 0.5);
  model.set_ac_online(true);
  clock.advance_seconds(60);
  const BatteryReading charging = model.read();
  EXPECT_EQ(charging.power_state, BATTERY_POWER_ON_LINE | BATTERY_CHARGING);
  EXPECT_GT(charging.rate_mw, 0);
  EXPECT_GT(charging.capacity_mwh, static_cast<uint32_t>(0.5 * kFullChargedCapacityMwh));

  clock.advance_seconds(6 * 3600);
  const BatteryReading full = model.read();
  EXPECT_EQ(full.capacity_mwh, kFullChargedCapacityMwh);
  EXPECT_EQ(full.power_state, BATTERY_POWER_ON_LINE);
  EXPECT_EQ(full.rate_mw, 0);
}

TEST(BatteryModel, UnpluggingCountsTheTimeBeforeUnderTheCharger) {
  FakeClock clock;
  BatteryModel model(clock, 0.5);
  model.set_ac_online(true);
  clock.advance_seconds(600);
  model.set_ac_online(false);  // ten minutes of charging happened before this
  const BatteryReading reading = model.read();
  EXPECT_GT(reading.capacity_mwh, static_cast<uint32_t>(0.5 * kFullChargedCapacityMwh) + 1000);
  EXPECT_EQ(reading.power_state, BATTERY_DISCHARGING);
}

TEST(BatteryModel, EmptyBatteryIsCriticalAndStopsAtZero) {
  FakeClock clock;
  BatteryModel model(clock, 0.05);
  clock.advance_seconds(3 * 3600);
  const BatteryReading reading = model.read();
  EXPECT_EQ(reading.capacity_mwh, 0u);
  EXPECT_EQ(reading.power_state, BATTERY_DISCHARGING | BATTERY_CRITICAL);
}

}  // namespace
