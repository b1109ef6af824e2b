#include "power/power_actions.h"
#include "../../res/control_ids.h"
#include "panel/deferred_reports.h"
#include "panel_fixture.h"

namespace {

using Calls = std::vector<std::string>;
const Calls kEnablePrivilege = {"OpenProcessToken 0x00000028 self",
                                "LookupPrivilegeValueW SeShutdownPrivilege",
                                "AdjustTokenPrivileges 10 1 luid19 attr2 011", "CloseHandle token"};

Calls joined(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

using PowerActionsTest = PanelFixture;

TEST_F(PowerActionsTest, SuspendNowEnablesThePrivilegeThenSleepsOrHibernates) {
  suspend_now(ports, kSleepAction);
  EXPECT_EQ(power.calls, joined({kEnablePrivilege, {"SetSuspendState 011"}}));
  power.calls.clear();
  suspend_now(ports, kHibernateAction);
  EXPECT_EQ(power.calls, joined({kEnablePrivilege, {"SetSuspendState 111"}}));
  EXPECT_EQ(power.open_tokens, 0);
}

TEST_F(PowerActionsTest, WithoutATokenNothingIsSuspended) {
  power.fail_token = true;
  suspend_now(ports, kSleepAction);
  EXPECT_EQ(power.calls, Calls{"OpenProcessToken 0x00000028 self"});
  EXPECT_FALSE(enable_shutdown_privilege(ports));
}

TEST_F(PowerActionsTest, WakeTimerOnBatteryWritesOnlyTheDcSetting) {
  battery.batteries[0].status.PowerState = 0x2;
  suspend_with_wake_timer(state, ports, true, -1'800'000'000);
  EXPECT_EQ(power.calls, joined({{"PowerGetActiveScheme", "PowerWriteDCValueIndex active sleep rtc-wake 1",
                                  "PowerSetActiveScheme active", "LocalFree", "CreateWaitableTimerW 1",
                                  "SetWaitableTimer -1800000000 0 1"},
                                 kEnablePrivilege,
                                 {"SetSuspendState 110", "SetThreadExecutionState 0x80000000"}}));
  EXPECT_NE(state.wake_timer, nullptr);
  EXPECT_EQ(power.scheme_copies, 0);
  show_deferred_reports(state, ports);
  EXPECT_TRUE(dialog.message_boxes.empty());
}

TEST_F(PowerActionsTest, WakeTimerOnAcWritesOnlyTheAcSetting) {
  battery.batteries[0].status.PowerState = 0x5;
  suspend_with_wake_timer(state, ports, false, -10'000'000);
  EXPECT_TRUE(power.called("PowerWriteACValueIndex active sleep rtc-wake 1"));
  EXPECT_FALSE(power.called("PowerWriteDCValueIndex"));
  EXPECT_TRUE(power.called("SetSuspendState 010"));
  EXPECT_NE(state.second_battery.ac_on_line, 0);
  EXPECT_EQ(state.battery.remaining_capacity, 0u) << "the current snapshot is not touched";
}

TEST_F(PowerActionsTest, ATimerThatCannotBeCreatedIsToldInWordsAndTheSuspendGoesOn) {
  power.fail_create_timer = true;
  suspend_with_wake_timer(state, ports, false, -10'000'000);
  show_deferred_reports(state, ports);
  ASSERT_EQ(dialog.message_boxes.size(), 2u);
  EXPECT_EQ(FakeDialogPort::narrow(dialog.message_boxes[0].text), "Can't Create Wait timer");
  EXPECT_EQ(FakeDialogPort::narrow(dialog.message_boxes[1].text), "Can't Set Wait timer");
  EXPECT_EQ(dialog.message_boxes[1].caption, u"");
  EXPECT_EQ(dialog.message_boxes[1].type, MB_OK);
  EXPECT_TRUE(power.called("SetSuspendState 010"));
  EXPECT_EQ(state.wake_timer, nullptr);
}

TEST_F(PowerActionsTest, ATimerThatCannotBeSetIsClosedAndTheSuspendGoesOn) {
  power.fail_set_timer = true;
  suspend_with_wake_timer(state, ports, false, -10'000'000);
  show_deferred_reports(state, ports);
  ASSERT_EQ(dialog.message_boxes.size(), 1u);
  EXPECT_EQ(FakeDialogPort::narrow(dialog.message_boxes[0].text), "Can't Set Wait timer");
  EXPECT_EQ(power.live_timers, 0);
  EXPECT_EQ(state.wake_timer, nullptr);
  EXPECT_TRUE(power.called("SetSuspendState 010"));
}

TEST_F(PowerActionsTest, AnEarlierTimerIsClosedBeforeTheNextOne) {
  suspend_with_wake_timer(state, ports, false, -10'000'000);
  suspend_with_wake_timer(state, ports, true, -20'000'000);
  EXPECT_EQ(power.live_timers, 1);
  EXPECT_EQ(power.last_due.QuadPart, -20'000'000);
}

TEST_F(PowerActionsTest, WithoutAnActiveSchemeTheTimerAndSuspendStillHappen) {
  power.fail_scheme = true;
  suspend_with_wake_timer(state, ports, false, -10'000'000);
  EXPECT_FALSE(power.called("PowerWrite"));
  EXPECT_FALSE(power.called("PowerSetActiveScheme"));
  EXPECT_FALSE(power.called("LocalFree"));
  EXPECT_TRUE(power.called("SetWaitableTimer -10000000 0 1"));
  EXPECT_TRUE(power.called("SetSuspendState 010"));
}

TEST_F(PowerActionsTest, ShutDownForcesAShutdownAndQuitsEvenWithoutAToken) {
  EXPECT_EQ(panel_dialog_message(state, ports, WM_COMMAND, IDC_S5, 0), TRUE);
  EXPECT_EQ(power.calls, joined({kEnablePrivilege, {"ExitWindowsEx 5 0"}}));
  EXPECT_EQ(dialog.quit_codes, std::vector<int>{0});

  power.calls.clear();
  power.fail_token = true;
  panel_dialog_message(state, ports, WM_COMMAND, IDC_S5, 0);
  EXPECT_FALSE(power.called("ExitWindowsEx"));
  EXPECT_EQ(dialog.quit_codes.size(), 2u);
}

}  // namespace
