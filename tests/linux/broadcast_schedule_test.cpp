// Which power broadcasts the real laptop sends when, with time passed by hand.
#include <gtest/gtest.h>

#include <vector>

#include "linux/broadcast_schedule.h"

namespace {

using namespace power_broadcast;

struct Step {
  enum Kind { uevent, sleep, wake, status_changes, jump, wait } kind;
  uint64_t ms = 0;  // for wait and jump
};

struct ScheduleCase {
  const char* name;
  bool logind;
  std::vector<Step> steps;
  std::vector<WPARAM> expected;
};

// Runs the steps, asking for due broadcasts every 100 ms as a main loop with a short timeout would.
std::vector<WPARAM> run(const ScheduleCase& c) {
  uint32_t power_state = 1;
  BroadcastSchedule schedule([&] { return power_state; });
  schedule.set_sleep_signals(c.logind);
  ClockReading now{10'000, 12'000};
  std::vector<WPARAM> sent;
  const auto poll = [&] {
    for (WPARAM event : schedule.take_due(now)) {
      sent.push_back(event);
    }
  };
  poll();
  for (const Step& step : c.steps) {
    switch (step.kind) {
      case Step::uevent:
        schedule.supply_changed(now.monotonic_ms);
        break;
      case Step::sleep:
      case Step::wake:
        schedule.prepare_for_sleep(step.kind == Step::sleep, now.monotonic_ms);
        break;
      case Step::status_changes:
        ++power_state;
        break;
      case Step::jump:
        now.boottime_ms += step.ms;
        break;
      case Step::wait:
        break;
    }
    for (uint64_t waited = 0; waited < step.ms || waited == 0; waited += 100) {
      if (step.kind == Step::wait || waited > 0) {
        now.monotonic_ms += 100;
        now.boottime_ms += 100;
      }
      poll();
      if (step.kind != Step::wait && step.kind != Step::jump) {
        break;
      }
    }
  }
  return sent;
}

TEST(BroadcastSchedule, SendsWhatWindowsWouldForEachSequenceOfEvents) {
  const std::vector<ScheduleCase> cases = {
      {"a burst of uevents within a second is one change",
       true,
       {{Step::uevent},
        {Step::wait, 300},
        {Step::uevent},
        {Step::wait, 400},
        {Step::uevent},
        {Step::wait, 8000}},
       {PBT_APMPOWERSTATUSCHANGE}},
      {"uevents two seconds apart are two changes",
       true,
       {{Step::uevent}, {Step::wait, 2000}, {Step::uevent}, {Step::wait, 8000}},
       {PBT_APMPOWERSTATUSCHANGE, PBT_APMPOWERSTATUSCHANGE}},
      {"a battery that reports late, without a uevent, still gets a broadcast within five seconds",
       true,
       {{Step::uevent}, {Step::wait, 2500}, {Step::status_changes}, {Step::wait, 1500}},
       {PBT_APMPOWERSTATUSCHANGE, PBT_APMPOWERSTATUSCHANGE}},
      {"a late status after the watch has ended is not sent",
       true,
       {{Step::uevent}, {Step::wait, 7500}, {Step::status_changes}, {Step::wait, 3000}},
       {PBT_APMPOWERSTATUSCHANGE}},
      {"logind's sleep and wake",
       true,
       {{Step::sleep}, {Step::wake}, {Step::wait, 6000}},
       {PBT_APMSUSPEND, PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND}},
      {"without a bus, the boot clock running ahead shows a resume",
       false,
       {{Step::wait, 1500}, {Step::jump, 60'000}, {Step::wait, 1500}},
       {PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND}},
      {"with logind, a clock jump alone sends nothing",
       true,
       {{Step::wait, 1500}, {Step::jump, 60'000}, {Step::wait, 1500}},
       {}},
      {"a small drift of the clocks is no sleep",
       false,
       {{Step::jump, 500}, {Step::wait, 1500}, {Step::jump, 500}, {Step::wait, 1500}},
       {}},
  };
  for (const ScheduleCase& c : cases) {
    EXPECT_EQ(run(c), c.expected) << c.name;
  }
}

TEST(BroadcastSchedule, TellsTheMainLoopHowLongItMayWait) {
  BroadcastSchedule schedule([] { return 0u; });
  schedule.set_sleep_signals(true);
  EXPECT_EQ(schedule.ms_until_due(5000), std::nullopt);
  schedule.supply_changed(5000);
  EXPECT_EQ(schedule.ms_until_due(5200), kUeventBurstMs - 200);
  schedule.prepare_for_sleep(true, 5200);
  EXPECT_EQ(schedule.ms_until_due(5200), 0u);
}

}  // namespace
