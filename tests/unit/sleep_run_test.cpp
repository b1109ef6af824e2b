#include "logs/sleep_run.h"
#include "../../res/control_ids.h"
#include "panel/deferred_reports.h"
#include "panel_fixture.h"

namespace {

class SleepTestTest : public PanelFixture {
 protected:
  SleepTestTest() {
    set_capacity(40000);
    panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
    clock.now = {2026, 12, 1, 7, 22, 10, 5, 0};
    // Asleep: the battery drains and the clock moves on.
    power.while_suspended = [this] {
      set_capacity(battery.batteries[0].status.Capacity - 300);
      clock.now.wHour = 23;
    };
  }
  void press(int id) {
    EXPECT_EQ(panel_dialog_message(state, ports, WM_COMMAND, static_cast<WPARAM>(id), 0), TRUE);
  }
  void set_delay(UINT days, UINT hours, UINT minutes, UINT seconds) {
    dialog.checked = BST_CHECKED;
    dialog.numbers[IDC_WAKE_DAYS] = days;
    dialog.numbers[IDC_WAKE_HOURS] = hours;
    dialog.numbers[IDC_WAKE_MINUTES] = minutes;
    dialog.numbers[IDC_WAKE_SECONDS] = seconds;
  }
  std::string log(const std::u16string& path) { return files.files[path]; }
};

TEST_F(SleepTestTest, WakeDelayFromTheFields) {
  EXPECT_EQ(wake_delay(state, ports), 0) << "unchecked";
  set_delay(0, 0, 3, 0);
  EXPECT_EQ(wake_delay(state, ports), -1'800'000'000);
  set_delay(1, 2, 3, 4);
  EXPECT_EQ(wake_delay(state, ports), -937'840'000'000);
  set_delay(0, 0, 0, 0);
  EXPECT_EQ(wake_delay(state, ports), 0) << "all zero: no timer";
  set_delay(0, 0, 0, 1);
  EXPECT_EQ(wake_delay(state, ports), -10'000'000);
  // The longest delay whose due time fits 64 bits, and one second more: no due time at all, where
  // the product would wrap to a positive (absolute) time in 1601.
  set_delay(10'675'199, 2, 48, 5);
  EXPECT_EQ(wake_delay(state, ports), -9'223'372'036'850'000'000);
  set_delay(10'675'199, 2, 48, 6);
  EXPECT_EQ(wake_delay(state, ports), std::nullopt);
  set_delay(21'350'398, 5, 36, 10);
  EXPECT_EQ(wake_delay(state, ports), std::nullopt);
  set_delay(0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
  EXPECT_EQ(wake_delay(state, ports), std::nullopt);
}

TEST_F(SleepTestTest, ADelayWhoseDueTimeDoesNotFitIsATimerThatCannotBeSet) {
  set_delay(21'350'398, 5, 36, 10);  // wraps to 9551616: 0.96 s after the start of 1601
  press(IDC_S3);
  EXPECT_FALSE(power.called("SetWaitableTimer"));
  EXPECT_EQ(power.live_timers, 0);
  EXPECT_TRUE(power.called("SetSuspendState 010")) << "the suspend goes ahead, wake events on";
  EXPECT_EQ(state.sleep_test_mode, kSleepMode);
  show_deferred_reports(state, ports);
  ASSERT_EQ(dialog.message_boxes.size(), 1u);
  EXPECT_EQ(FakeDialogPort::narrow(dialog.message_boxes[0].text), "Can't Set Wait timer");
}

TEST_F(SleepTestTest, S3WithoutDelaySleepsAndTheNextBroadcastWritesTheLastRow) {
  press(IDC_S3);
  EXPECT_EQ(state.sleep_test_mode, kSleepMode);
  EXPECT_TRUE(power.called("SetSuspendState 011"));
  EXPECT_FALSE(power.called("CreateWaitableTimerW"));
  const std::u16string path = u"S3-22h10m05s-2026y12m07d.txt";
  EXPECT_EQ(log(path),
            "Time\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n"
            "22:10:05 76.92%\t   52000\t   40000\t  -12000\t       0\r\n");

  clock.now.wMinute = 40;
  handle_power_broadcast(state, ports);
  EXPECT_EQ(log(path),
            "Time\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n"
            "22:10:05 76.92%\t   52000\t   40000\t  -12000\t       0\r\n"
            "23:40:05 76.35%\t   52000\t   39700\t  -12000\t    -300\r\n");
  EXPECT_EQ(state.sleep_test_mode, 0);
  EXPECT_EQ(files.open_count(), 0);
  ASSERT_EQ(files.shell_calls.size(), 1u);
  EXPECT_EQ(files.shell_calls[0].parameters, path);
  // The panel was re-initialised after the row: timer restarted, fields refreshed.
  EXPECT_EQ(dialog.timer_starts, 2);
  EXPECT_EQ(text(IDC_REMAINING_CAPACITY), "39700 mW");
}

TEST_F(SleepTestTest, S4WithTheDefaultDelayHibernatesWithAResumeTimer) {
  set_delay(0, 0, 3, 0);
  press(IDC_S4);
  EXPECT_EQ(state.sleep_test_mode, kHibernateMode);
  EXPECT_TRUE(power.called("SetWaitableTimer -1800000000 0 1"));
  EXPECT_TRUE(power.called("SetSuspendState 110"));
  EXPECT_TRUE(files.files.count(u"S4-22h10m05s-2026y12m07d.txt"));
}

TEST_F(SleepTestTest, TheAfterResumeRowTakesItsOwnClockAndSnapshot) {
  press(IDC_S3);
  const SYSTEMTIME panel_time = state.local_time;
  const uint32_t panel_remaining = state.battery.remaining_capacity;
  dialog.on_send = nullptr;  // look at the state between the row and the re-initialisation
  handle_power_broadcast(state, ports);
  EXPECT_EQ(state.local_time.wHour, panel_time.wHour);
  EXPECT_EQ(state.battery.remaining_capacity, panel_remaining);
}

TEST_F(SleepTestTest, AFailedAfterResumeQueryWritesTheZeroSnapshot) {
  press(IDC_S3);
  battery.batteries.clear();
  handle_power_broadcast(state, ports);
  const std::string written = log(u"S3-22h10m05s-2026y12m07d.txt");
  EXPECT_EQ(written.substr(written.rfind("23:")),
            "23:10:05  N/A%\t       0\t       0\t       0\t  -40000\r\n");
}

TEST_F(SleepTestTest, ATestStartedOverAnArmedOneClosesTheEarlierLog) {
  press(IDC_S3);
  clock.now.wSecond = 6;
  power.while_suspended = nullptr;
  press(IDC_S4);
  EXPECT_EQ(files.open_count(), 1);
  for (int i = 0; i < 100; ++i) {
    handle_power_broadcast(state, ports);  // a storm: only the first one writes
  }
  int first_lines = 0, second_lines = 0;
  for (char c : log(u"S3-22h10m05s-2026y12m07d.txt")) {
    first_lines += c == '\n';
  }
  for (char c : log(u"S4-23h10m06s-2026y12m07d.txt")) {
    second_lines += c == '\n';
  }
  EXPECT_EQ(first_lines, 2);
  EXPECT_EQ(second_lines, 3);
  EXPECT_EQ(files.open_count(), 0);
  EXPECT_EQ(files.shell_calls.size(), 1u);
}

TEST_F(SleepTestTest, ARefusedSuspendLeavesTheTestArmedUntilAnyBroadcast) {
  power.while_suspended = nullptr;  // returns at once
  press(IDC_S3);
  EXPECT_EQ(state.sleep_test_mode, kSleepMode);
  ticks(5);
  EXPECT_EQ(state.sleep_test_mode, kSleepMode);
  handle_power_broadcast(state, ports);
  EXPECT_EQ(state.sleep_test_mode, 0);
}

TEST_F(SleepTestTest, ASleepTestDuringAnS1SessionTakesTheBaselineAndThePath) {
  press(IDC_S1_SAVE);
  set_capacity(39950);
  tick();
  power.while_suspended = nullptr;
  press(IDC_S3);  // its baseline: 39950
  EXPECT_EQ(state.baseline_remaining_capacity, 39950);
  set_capacity(39940);
  tick();
  press(IDC_S1_SAVE);  // stop row Diff -10; Notepad shows the sleep log
  const std::string s1 = log(u"S1-22h10m05s-2026y12m07d.txt");
  EXPECT_EQ(s1.substr(s1.rfind("\t") + 1), "     -10\r\n");
  ASSERT_EQ(files.shell_calls.size(), 1u);
  EXPECT_EQ(files.shell_calls[0].parameters, u"S3-22h10m05s-2026y12m07d.txt");
}

}  // namespace
