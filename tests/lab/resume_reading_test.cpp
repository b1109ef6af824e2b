// What the kernel's files say about a sleep, as the kernel really writes them: with and without a
// trailing newline (umockdev's attribute files have none), missing on older kernels or platforms,
// pm_wakeup_irq unreadable when nothing was recorded.
#include "lab/resume_reading.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class FakeSleepFacts final : public SleepFactsPort {
 public:
  std::map<SleepFact, std::string> files;
  SleepClocks clocks;
  std::optional<std::string> read(SleepFact fact) override {
    const auto found = files.find(fact);
    return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
  SleepClocks read_clocks() override { return clocks; }
};

struct Case {
  const char* name;
  std::map<SleepFact, std::string> before, after;
  uint64_t asleep_ms;
  const char* verdict;
};

const Case kCases[] = {
    {"an s2idle sleep, the alarm rang",
     {{SleepFact::mem_sleep, "[s2idle] deep\n"},
      {SleepFact::success, "4\n"},
      {SleepFact::fail, "0"},
      {SleepFact::total_hw_sleep, "1000000\n"},
      {SleepFact::last_hw_sleep, "1000000"},
      {SleepFact::wake_alarm, "1767000000\n"}},
     {{SleepFact::success, "5\n"},
      {SleepFact::fail, "0"},
      {SleepFact::total_hw_sleep, "591000000\n"},
      {SleepFact::last_hw_sleep, "590000000\n"},
      {SleepFact::max_hw_sleep, "4294967295\n"},
      {SleepFact::wake_alarm, "\n"},
      {SleepFact::wakeup_irq, "9\n"},
      {SleepFact::interrupts,
       "            CPU0       CPU1\n   8:          0          0  IR-IO-APIC    8-edge      rtc0\n"
       "   9:        412         17  IR-IO-APIC    9-fasteoi   acpi\n"}},
     600'000,
     "s2idle, asleep 600.0 s, hardware sleep 98.3 %, woken by rtc alarm (irq 9 acpi)"},
    {"longer than the counter holds",
     {{SleepFact::mem_sleep, "[s2idle]"}, {SleepFact::total_hw_sleep, "0"}},
     {{SleepFact::total_hw_sleep, "4000000000"},
      {SleepFact::last_hw_sleep, "4000000000"},
      {SleepFact::max_hw_sleep, "4294967295"},
      {SleepFact::wakeup_irq, "1"}},
     5'000'000,
     "s2idle, asleep 5000.0 s, hardware sleep 80.0 % (unreliable: longer than its counter holds), "
     "woken by irq 1"},
    {"a platform that did not report this sleep: the last figure is an older one's",
     {{SleepFact::mem_sleep, "[s2idle]"}, {SleepFact::total_hw_sleep, "7000"}},
     {{SleepFact::total_hw_sleep, "7000"}, {SleepFact::last_hw_sleep, "7000"}},
     2'000,
     "s2idle, asleep 2.0 s, hardware sleep unknown, woken by unknown"},
    {"deep sleep: no hardware sleep figure, a failure counted",
     {{SleepFact::mem_sleep, "s2idle [deep]"}, {SleepFact::fail, "2"}, {SleepFact::last_hw_sleep, "0"}},
     {{SleepFact::fail, "3\n"},
      {SleepFact::last_failed_step, "suspend_noirq\n"},
      {SleepFact::last_failed_dev, "0000:00:14.0\n"},
      {SleepFact::last_hw_sleep, "0"}},
     15,
     "suspend failed at suspend_noirq (0000:00:14.0), deep, asleep 0.0 s, hardware sleep unknown, "
     "woken by unknown"},
    {"an older kernel: none of the files",
     {},
     {},
     1'500,
     "state unknown, asleep 1.5 s, hardware sleep unknown, woken by unknown"},
};

TEST(ResumeReading, PutsTogetherWhatTheFilesAndClocksSay) {
  for (const Case& example : kCases) {
    FakeSleepFacts facts;
    facts.files = example.before;
    facts.clocks = {5'000, 7'000};
    const BeforeSleep before = read_before_sleep(facts, false);
    facts.files = example.after;
    facts.clocks = {5'100, 7'100 + example.asleep_ms};
    const SleepReading reading = read_after_resume(facts, before, true);
    EXPECT_EQ(reading.asleep_ms, example.asleep_ms) << example.name;
    EXPECT_EQ(sleep_verdict(reading), example.verdict) << example.name;
  }
}

TEST(ResumeReading, HibernationReadsItsModeAndNoAlarmMeansNoClaimAboutIt) {
  FakeSleepFacts facts;
  facts.files = {{SleepFact::disk, "[platform] shutdown reboot suspend test_resume\n"},
                 {SleepFact::mem_sleep, "[s2idle]"}};
  const BeforeSleep before = read_before_sleep(facts, true);
  facts.files[SleepFact::wake_alarm] = "";
  const SleepReading reading = read_after_resume(facts, before, false);
  EXPECT_EQ(reading.state, "platform");
  EXPECT_EQ(wake_source(reading), "") << "an empty alarm says nothing when none was set";
}

}  // namespace
