// The power broadcast source against real event sources: a umockdev test bed sending power_supply
// uevents (run under umockdev-wrapper), and a mock logind on a private system bus (run by
// run-kernel-events.sh). Without either, the test says so and skips.
#include <gtest/gtest.h>
#include <poll.h>

#include <cstdlib>
#include <string>

#include "battery/battery_query.h"
#include "linux/linux_laptop.h"

#ifdef CHARGEWRIGHT_UMOCKDEV
#include <umockdev.h>
#endif

namespace {

using namespace power_broadcast;

// The monotonic clock as it runs; the boot clock kept in step, so no sleep is ever seen.
class SteppedClocks final : public PowerClocks {
 public:
  ClockReading read() override {
    const ClockReading real = system_.read();
    return {real.monotonic_ms, real.monotonic_ms};
  }

 private:
  SystemPowerClocks system_;
};

// Polls and drains for up to `limit_ms`, collecting every broadcast.
std::vector<WPARAM> collect(PowerBroadcastSource& source, int limit_ms) {
  std::vector<WPARAM> sent;
  SystemPowerClocks clock;
  const uint64_t end = clock.read().monotonic_ms + static_cast<uint64_t>(limit_ms);
  for (uint64_t now = clock.read().monotonic_ms; now < end; now = clock.read().monotonic_ms) {
    pollfd watched{source.fd(), POLLIN, 0};
    const int timeout = source.timeout_ms();
    const int left = static_cast<int>(end - now);
    ::poll(&watched, source.fd() >= 0 ? 1 : 0, timeout < 0 || timeout > left ? left : timeout);
    for (WPARAM event : source.drain()) {
      sent.push_back(event);
    }
  }
  return sent;
}

#ifdef CHARGEWRIGHT_UMOCKDEV
class TestBed {
 public:
  TestBed() : bed_(umockdev_testbed_new()) {}
  ~TestBed() { g_object_unref(bed_); }
  TestBed(const TestBed&) = delete;
  TestBed& operator=(const TestBed&) = delete;
  UMockdevTestbed* get() const { return bed_; }

 private:
  UMockdevTestbed* bed_;
};
#endif

TEST(KernelEvents, AnAdapterPluggedWithABurstOfUeventsGivesOneBroadcastAndTheLateBatteryAnother) {
#ifndef CHARGEWRIGHT_UMOCKDEV
  GTEST_SKIP() << "built without umockdev";
#else
  TestBed bed;
  if (!umockdev_in_mock_environment()) {
    GTEST_SKIP() << "run under umockdev-wrapper";
  }
  char* ac =
      umockdev_testbed_add_device(bed.get(), "power_supply", "AC", nullptr, "type", "Mains", "online", "0",
                                  nullptr, "POWER_SUPPLY_TYPE", "Mains", "POWER_SUPPLY_ONLINE", "0", nullptr);
  char* battery = umockdev_testbed_add_device(
      bed.get(), "power_supply", "BAT0", nullptr, "type", "Battery", "status", "Discharging", nullptr,
      "POWER_SUPPLY_TYPE", "Battery", "POWER_SUPPLY_STATUS", "Discharging", "POWER_SUPPLY_ENERGY_NOW",
      "30000000", "POWER_SUPPLY_ENERGY_FULL", "50000000", nullptr);
  ASSERT_NE(ac, nullptr);
  ASSERT_NE(battery, nullptr);

  SteppedClocks clocks;
  LinuxLaptop laptop(clocks, {});
  ASSERT_TRUE(laptop.broadcasts().monitoring_uevents()) << laptop.broadcasts().problem();
  BatterySnapshot snapshot{};
  ASSERT_EQ(query_battery(snapshot, laptop.battery()), 1);
  EXPECT_EQ(snapshot.ac_on_line, 0);
  EXPECT_EQ(collect(laptop.broadcasts(), 300), std::vector<WPARAM>{});

  // The adapter goes online and its driver sends three uevents; the battery follows 2 s later, silently.
  umockdev_testbed_set_property(bed.get(), ac, "POWER_SUPPLY_ONLINE", "1");
  for (int i = 0; i < 3; ++i) {
    umockdev_testbed_uevent(bed.get(), ac, "change");
  }
  EXPECT_EQ(collect(laptop.broadcasts(), 2000), std::vector<WPARAM>{PBT_APMPOWERSTATUSCHANGE});
  ASSERT_EQ(query_battery(snapshot, laptop.battery()), 1);
  EXPECT_NE(snapshot.ac_on_line, 0);
  EXPECT_NE(snapshot.discharging, 0);
  umockdev_testbed_set_property(bed.get(), battery, "POWER_SUPPLY_STATUS", "Charging");
  EXPECT_EQ(collect(laptop.broadcasts(), 2500), std::vector<WPARAM>{PBT_APMPOWERSTATUSCHANGE});
  ASSERT_EQ(query_battery(snapshot, laptop.battery()), 1);
  EXPECT_NE(snapshot.charging, 0);
  EXPECT_EQ(snapshot.discharging, 0);
  EXPECT_EQ(laptop.title(), u"Chargewright on BAT0");
  g_free(ac);
  g_free(battery);
#endif
}

TEST(KernelEvents, LogindsPrepareForSleepGivesTheSuspendAndResumeBroadcasts) {
  if (std::getenv("CHARGEWRIGHT_MOCK_LOGIND") == nullptr) {
    GTEST_SKIP() << "needs the mock logind of run-kernel-events.sh";
  }
  SteppedClocks clocks;
  PowerBroadcastSource source(clocks, [] { return 0u; });
  ASSERT_TRUE(source.watching_logind()) << source.problem();
  collect(source, 300);  // the match is in place on the bus
  const std::string emit =
      "gdbus call --system -d org.freedesktop.login1 -o /org/freedesktop/login1 -m "
      "org.freedesktop.DBus.Mock.EmitSignal org.freedesktop.login1.Manager PrepareForSleep b ";
  ASSERT_EQ(std::system((emit + "'[<true>]' >/dev/null").c_str()), 0);
  EXPECT_EQ(collect(source, 1000), std::vector<WPARAM>{PBT_APMSUSPEND});
  ASSERT_EQ(std::system((emit + "'[<false>]' >/dev/null").c_str()), 0);
  EXPECT_EQ(collect(source, 1000), (std::vector<WPARAM>{PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND}));
}

}  // namespace
