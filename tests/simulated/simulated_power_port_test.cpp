#include "simulated/simulated_power_port.h"

#include <gtest/gtest.h>

#include <cstring>

#include "logs/sleep_run.h"
#include "power/power_actions.h"
#include "simulated_laptop_fixture.h"

namespace {

using power_broadcast::PBT_APMRESUMEAUTOMATIC;
using power_broadcast::PBT_APMRESUMESUSPEND;
using power_settings::GUID_ALLOW_RTC_WAKE;
using power_settings::GUID_SLEEP_SUBGROUP;

constexpr int64_t kFiveSeconds = -50'000'000;  // in 100 ns units, relative

std::vector<WPARAM> take_all(PowerBroadcastQueue& queue) {
  std::vector<WPARAM> events;
  while (!queue.empty()) {
    events.push_back(queue.take());
  }
  return events;
}

using SimulatedPower = SimulatedLaptopTest;

TEST_F(SimulatedPower, SchemeKeepsTheWakeTimerSettingPerSourceAndAppliesItOnSetActive) {
  GUID* scheme = nullptr;
  ASSERT_EQ(power.PowerGetActiveScheme(nullptr, &scheme), 0u);
  ASSERT_NE(scheme, nullptr);
  EXPECT_EQ(std::memcmp(scheme, &kSimulatedSchemeGuid, sizeof(GUID)), 0);
  EXPECT_EQ(power.schemes_not_freed(), 1);

  EXPECT_EQ(power.PowerWriteACValueIndex(nullptr, scheme, &GUID_SLEEP_SUBGROUP, &GUID_ALLOW_RTC_WAKE, 1), 0u);
  EXPECT_EQ(power.wake_timers().ac, 0u) << "written, not yet applied";
  EXPECT_EQ(power.PowerSetActiveScheme(nullptr, scheme), 0u);
  EXPECT_EQ(power.wake_timers().ac, 1u);
  EXPECT_EQ(power.wake_timers().dc, 0u);
  EXPECT_EQ(power.PowerWriteDCValueIndex(nullptr, scheme, &GUID_SLEEP_SUBGROUP, &GUID_ALLOW_RTC_WAKE, 1), 0u);
  power.PowerSetActiveScheme(nullptr, scheme);
  EXPECT_EQ(power.wake_timers().ac, 1u);
  EXPECT_EQ(power.wake_timers().dc, 1u);

  // Another setting, or another scheme, is not there to write.
  EXPECT_NE(power.PowerWriteACValueIndex(nullptr, scheme, &GUID_ALLOW_RTC_WAKE, &GUID_SLEEP_SUBGROUP, 0), 0u);
  const GUID other{};
  EXPECT_NE(power.PowerWriteACValueIndex(nullptr, &other, &GUID_SLEEP_SUBGROUP, &GUID_ALLOW_RTC_WAKE, 0), 0u);

  EXPECT_EQ(power.LocalFree(scheme), nullptr);
  EXPECT_EQ(power.schemes_not_freed(), 0);
  int not_ours = 0;
  EXPECT_EQ(power.LocalFree(&not_ours), &not_ours) << "memory it never handed out is refused";
}

TEST_F(SimulatedPower, TimersTakeRelativeDueTimesOnly) {
  const HANDLE timer = power.CreateWaitableTimerW(nullptr, TRUE, nullptr);
  ASSERT_NE(timer, nullptr);
  LARGE_INTEGER due{};
  due.QuadPart = -15'000;  // 1.5 ms: never early, so 2 ms
  ASSERT_TRUE(power.SetWaitableTimer(timer, &due, 0, TRUE));
  EXPECT_EQ(power.timers().next_resume_due(), clock.now_ms + 2);
  due.QuadPart = 1;  // absolute
  EXPECT_FALSE(power.SetWaitableTimer(timer, &due, 0, TRUE));
  EXPECT_FALSE(power.SetWaitableTimer(reinterpret_cast<HANDLE>(0x99), &due, 0, TRUE));
  EXPECT_TRUE(power.CloseHandle(timer));
  EXPECT_FALSE(power.CloseHandle(timer));
  EXPECT_EQ(power.timers().open_count(), 0u);
}

TEST_F(SimulatedPower, SleepWithAWakeTimerOnBatteryWakesByTheTimerAndDrainsSlowly) {
  const uint32_t before = model.read().capacity_mwh;
  suspend_with_wake_timer(state, ports, false, kFiveSeconds);

  ASSERT_FALSE(screen.views.empty());
  ASSERT_TRUE(screen.views.front().resume_in_ms.has_value());
  EXPECT_EQ(*screen.views.front().resume_in_ms, 5000u);
  EXPECT_FALSE(screen.views.front().hibernating);
  EXPECT_EQ(clock.now_ms - 1'000'000, 5000u) << "held until the timer was due, not longer";
  EXPECT_EQ(power.wake_timers().dc, 1u);
  EXPECT_EQ(power.wake_timers().ac, 0u);
  EXPECT_TRUE(power.timers().signalled(state.wake_timer));
  EXPECT_EQ(take_all(broadcasts), std::vector<WPARAM>{PBT_APMRESUMEAUTOMATIC});

  // 0.8 W for five seconds that count as five minutes: about 67 mWh.
  const double drained = static_cast<double>(before) - model.read().capacity_mwh;
  EXPECT_NEAR(drained, kSleepLoadMw * 5 * kSleepTimeScale / 3600, 2.0);
  EXPECT_FALSE(model.asleep());
  EXPECT_EQ(power.schemes_not_freed(), 0);
  EXPECT_EQ(power.open_tokens(), 0);
}

TEST_F(SimulatedPower, OnMainsOnlyTheAcSettingIsWritten) {
  model.set_ac_online(true);
  suspend_with_wake_timer(state, ports, true, kFiveSeconds);
  EXPECT_EQ(power.wake_timers().ac, 1u);
  EXPECT_EQ(power.wake_timers().dc, 0u);
  EXPECT_TRUE(screen.views.front().hibernating);
}

TEST_F(SimulatedPower, HibernationDrainsAboutATenthOfSleep) {
  const uint32_t before = model.read().capacity_mwh;
  suspend_with_wake_timer(state, ports, true, kFiveSeconds * 6);
  const double drained = static_cast<double>(before) - model.read().capacity_mwh;
  EXPECT_NEAR(drained, kHibernateLoadMw * 30 * kSleepTimeScale / 3600, 2.0);
  EXPECT_LT(kHibernateLoadMw * 5, kSleepLoadMw);
}

TEST_F(SimulatedPower, WithWakeEventsDisabledOnlyAKeyWakesEvenWithAnArmedTimer) {
  const HANDLE timer = power.CreateWaitableTimerW(nullptr, TRUE, nullptr);
  LARGE_INTEGER due{};
  due.QuadPart = kFiveSeconds;
  power.SetWaitableTimer(timer, &due, 0, TRUE);
  screen.key_at_wait = 20;
  suspend_now(ports, kSleepAction);

  ASSERT_EQ(screen.views.size(), 20u);
  EXPECT_FALSE(screen.views.front().resume_in_ms.has_value()) << "the screen says: no resume timer";
  EXPECT_GE(clock.now_ms - 1'000'000, 19'000u) << "slept past the timer's due time";
  EXPECT_EQ(take_all(broadcasts), (std::vector<WPARAM>{PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND}));
  EXPECT_TRUE(power.shutdown_privilege_enabled());
  power.CloseHandle(timer);
}

TEST_F(SimulatedPower, AKeyWakesBeforeTheTimer) {
  screen.key_at_wait = 2;
  suspend_with_wake_timer(state, ports, false, kFiveSeconds);
  EXPECT_EQ(screen.views.size(), 2u);
  EXPECT_EQ(*screen.views[1].resume_in_ms, 4000u) << "the time left counts down";
  EXPECT_FALSE(power.timers().signalled(state.wake_timer));
  EXPECT_EQ(take_all(broadcasts), (std::vector<WPARAM>{PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND}));
}

TEST_F(SimulatedPower, WithoutTheShutdownPrivilegeSuspendAndShutdownAreRefused) {
  EXPECT_FALSE(power.SetSuspendState(FALSE, TRUE, TRUE));
  EXPECT_FALSE(power.ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0));
  EXPECT_TRUE(screen.views.empty());
  EXPECT_TRUE(broadcasts.empty());
  EXPECT_FALSE(power.shut_down());
  LUID luid{};
  EXPECT_FALSE(power.LookupPrivilegeValueW(nullptr, u"SeDebugPrivilege", &luid));
}

TEST_F(SimulatedPower, TheQueuedBroadcastFinishesAnArmedSleepTestWithANegativeDiff) {
  dialog.create_panel();
  screen.key_at_wait = 8;  // eight seconds asleep
  start_sleep_test(state, ports, 1022);
  EXPECT_EQ(state.sleep_test_mode, kSleepMode) << "nothing handled while held in the suspend";
  ASSERT_EQ(broadcasts.size(), 2u);
  while (!broadcasts.empty()) {
    broadcasts.take();
    handle_power_broadcast(state, ports);
  }
  EXPECT_EQ(state.sleep_test_mode, 0);
  ASSERT_EQ(files.files.size(), 1u);
  const std::string log = files.files.begin()->second;
  size_t lines = 0;
  for (char c : log) {
    lines += c == '\n' ? 1 : 0;
  }
  EXPECT_EQ(lines, 3u);
  const std::string last_row = log.substr(log.rfind('\t', log.size() - 3) + 1);
  EXPECT_LT(std::stoi(last_row), 0) << log;
  EXPECT_EQ(files.shell_calls.size(), 1u) << "the log is shown once";
}

TEST_F(SimulatedPower, ShutdownShowsItsScreenAndTheProgramQuitsWithZero) {
  shut_down(state, ports);
  EXPECT_TRUE(power.shut_down());
  EXPECT_EQ(screen.shutdown_screens, 1);
  EXPECT_TRUE(dialog.quit_posted());
  EXPECT_EQ(dialog.exit_code(), 0);
}

TEST(BatteryModelAsleep, OnMainsTheChargerKeepsItsOwnPace) {
  FakeClock clock;
  BatteryModel model(clock, 0.5);
  model.set_ac_online(true);
  const uint32_t before = model.read().capacity_mwh;
  model.fall_asleep(kSleepLoadMw, kSleepTimeScale);
  clock.advance_seconds(10);
  model.wake_up();
  // 30 W for ten seconds, not for ten minutes.
  EXPECT_NEAR(static_cast<double>(model.read().capacity_mwh) - before, 30000.0 * 10 / 3600, 2.0);
}

}  // namespace
