#include "../../res/control_ids.h"
#include "panel_fixture.h"

namespace {

using LiveMonitorTest = PanelFixture;

TEST_F(LiveMonitorTest, InitialisationWritesTheStaticFieldsInOrder) {
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  const std::vector<int> order = {1001, 1002, 1003, 1004, 1036, 1013, 1012, 1008, 1005, 1006};
  std::vector<int> static_order;
  for (int id : dialog.text_order) {
    if (std::find(order.begin(), order.end(), id) != order.end()) {
      static_order.push_back(id);
    }
  }
  EXPECT_EQ(static_order, order);
  EXPECT_EQ(text(IDC_AC_ON_LINE), "FALSE");
  EXPECT_EQ(text(IDC_BATTERY_CRITICAL), "FALSE");
  EXPECT_EQ(text(IDC_CHARGING), "FALSE");
  EXPECT_EQ(text(IDC_DISCHARGING), "TRUE");
  EXPECT_EQ(text(IDC_BATTERY_STATUS_GROUP), "Battery Status (CW-0001, LION)");
  EXPECT_EQ(text(IDC_VOLTAGE), "11800 mV");
  EXPECT_EQ(text(IDC_DESIGN_CAPACITY), "57000 mW");
  EXPECT_EQ(text(IDC_FULL_CHARGED_CAPACITY), "52000 mW");
  EXPECT_EQ(text(IDC_DEFAULT_ALERT1), "1560 mW");
  EXPECT_EQ(text(IDC_DEFAULT_ALERT2), "2600 mW");
}

TEST_F(LiveMonitorTest, TickShowsClockCapacityRateAndPercentage) {
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  EXPECT_EQ(FakeDialogPort::narrow(dialog.title), "Chargewright - 09:05:03");
  clock.now.wHour = 23;
  clock.now.wMinute = 59;
  clock.now.wSecond = 0;
  battery.batteries[0].info.FullChargedCapacity = 50000;
  battery.batteries[0].status.Capacity = 45000;
  battery.batteries[0].status.Rate = -15000;
  tick();
  EXPECT_EQ(FakeDialogPort::narrow(dialog.title), "Chargewright - 23:59:00");
  EXPECT_EQ(text(IDC_REMAINING_CAPACITY), "45000 mW");
  EXPECT_EQ(text(IDC_RATE), "-15000 mW/hr");
  EXPECT_EQ(text(IDC_LIFE_PERCENT), "90.00 %");
  battery.batteries[0].info.FullChargedCapacity = 40000;
  battery.batteries[0].status.Capacity = 41000;
  tick();
  EXPECT_EQ(text(IDC_LIFE_PERCENT), "102.50 %");
}

TEST_F(LiveMonitorTest, UnreportedAndMissingValuesGiveDefinedTexts) {
  battery.batteries[0].info.FullChargedCapacity = 0;
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  EXPECT_EQ(text(IDC_LIFE_PERCENT), "N/A %");
  battery.batteries[0].status.Capacity = 0;
  tick();
  EXPECT_EQ(text(IDC_LIFE_PERCENT), "N/A %");

  battery.batteries[0].info.FullChargedCapacity = 0xFFFFFFFF;
  battery.batteries[0].status = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, INT32_MIN};
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  EXPECT_EQ(text(IDC_REMAINING_CAPACITY), "-1 mW");
  EXPECT_EQ(text(IDC_FULL_CHARGED_CAPACITY), "-1 mW");
  EXPECT_EQ(text(IDC_VOLTAGE), "-1 mV");
  EXPECT_EQ(text(IDC_RATE), "-2147483648 mW/hr");
  EXPECT_EQ(text(IDC_LIFE_PERCENT), "100.00 %");

  // No battery at all, as Wine presents it.
  battery.batteries.clear();
  PanelState fresh;
  PanelPorts same{dialog, clock, battery, files, power, lcd, wlan, input};
  panel_dialog_message(fresh, same, WM_INITDIALOG, 0, 0);
  EXPECT_EQ(text(IDC_BATTERY_STATUS_GROUP), "Battery Status (N/A, )");
  EXPECT_EQ(text(IDC_REMAINING_CAPACITY), "0 mW");
  EXPECT_EQ(text(IDC_LIFE_PERCENT), "N/A %");
  EXPECT_EQ(text(IDC_RATE_PER_MINUTE), "0 mW/min");
}

TEST_F(LiveMonitorTest, MinuteBlockRunsAtInitialisationAndEvery59Ticks) {
  set_capacity(40000);
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  EXPECT_EQ(text(IDC_RATE_PER_MINUTE), "0 mW/min");
  EXPECT_EQ(state.tick_counter, 0);
  EXPECT_EQ(state.baseline_remaining_capacity, 40000);
  EXPECT_EQ(text(IDC_ESTIMATED_TIME), "<unset>");  // no drain, no estimate

  for (int i = 1; i <= 58; ++i) {
    set_capacity(static_cast<ULONG>(40000 - 5 * i));
    tick();
  }
  EXPECT_EQ(text(IDC_RATE_PER_MINUTE), "0 mW/min");
  EXPECT_EQ(state.baseline_remaining_capacity, 40000);
  set_capacity(40000 - 5 * 59);
  tick();
  EXPECT_EQ(text(IDC_RATE_PER_MINUTE), "-295 mW/min");
  EXPECT_EQ(state.baseline_remaining_capacity, 40000 - 295);
  EXPECT_EQ(state.minute_drain_sum, 0);
}

TEST_F(LiveMonitorTest, EstimateFollowsTheWorkedExampleAndItsGate) {
  battery.batteries[0].info.DefaultAlert1 = 3000;
  set_capacity(30250);
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);

  set_capacity(30000);  // S = -250
  ticks(59);
  EXPECT_EQ(text(IDC_ESTIMATED_TIME), "1hr 37min");
  EXPECT_EQ(state.last_shown_drain, -250);

  set_capacity(29900);  // S = -100: Q = 2, held back
  ticks(59);
  EXPECT_EQ(text(IDC_RATE_PER_MINUTE), "-100 mW/min");
  EXPECT_EQ(text(IDC_ESTIMATED_TIME), "1hr 37min");
  EXPECT_EQ(state.last_shown_drain, -250);

  set_capacity(29770);  // S = -130: Q = 1, shown; 26770 * 0.9 = 24093 -> 185 min
  ticks(59);
  EXPECT_EQ(text(IDC_ESTIMATED_TIME), "3hr 05min");
  EXPECT_EQ(state.last_shown_drain, -130);

  set_capacity(29780);  // charging: no estimate, field keeps its text
  ticks(59);
  EXPECT_EQ(text(IDC_ESTIMATED_TIME), "3hr 05min");
}

TEST_F(LiveMonitorTest, EstimateFormatsHoursAndMinutesOfTheHour) {
  battery.batteries[0].info.DefaultAlert1 = 0;
  const struct {
    ULONG usable;
    const char* shown;
  } cases[] = {{500, "0hr 05min"}, {60000, "10hr 00min"}};  // drain 90 a minute
  for (const auto& c : cases) {
    state.last_shown_drain = 0;
    set_capacity(c.usable + 90);
    panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
    set_capacity(c.usable);
    ticks(59);
    EXPECT_EQ(text(IDC_ESTIMATED_TIME), c.shown);
  }
}

TEST_F(LiveMonitorTest, BelowTheFirstAlertLevelTheEstimateIsZero) {
  battery.batteries[0].info.DefaultAlert1 = 3000;
  set_capacity(2600);
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  set_capacity(2500);
  ticks(59);
  EXPECT_EQ(text(IDC_ESTIMATED_TIME), "0hr 00min");
}

TEST_F(LiveMonitorTest, ExtremeDrainsWrapWithoutOverflow) {
  set_capacity(0);
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  set_capacity(0x80000000u);  // a jump of 2^31 wraps to the most negative drain
  ticks(59);
  EXPECT_EQ(text(IDC_RATE_PER_MINUTE), "-2147483648 mW/min");
  EXPECT_EQ(state.last_shown_drain, INT32_MIN);
  EXPECT_EQ(text(IDC_ESTIMATED_TIME), "0hr 00min");

  set_capacity(0x80000000u - 1);  // S = -1 against a last shown drain of -2^31: held back
  ticks(59);
  EXPECT_EQ(text(IDC_RATE_PER_MINUTE), "-1 mW/min");
  EXPECT_EQ(state.last_shown_drain, INT32_MIN);
}

TEST_F(LiveMonitorTest, StaticFieldsChangeOnlyAtInitialisation) {
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  battery.batteries[0].status.Voltage = 11000;
  battery.batteries[0].status.PowerState = 0x5;
  ticks(70);
  EXPECT_EQ(text(IDC_VOLTAGE), "11800 mV");
  EXPECT_EQ(text(IDC_AC_ON_LINE), "FALSE");
  handle_power_broadcast(state, ports);
  EXPECT_EQ(text(IDC_VOLTAGE), "11000 mV");
  EXPECT_EQ(text(IDC_AC_ON_LINE), "TRUE");
  EXPECT_EQ(text(IDC_CHARGING), "TRUE");
}

TEST_F(LiveMonitorTest, AFailedQueryAddsNoDrain) {
  set_capacity(40000);
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  set_capacity(39990);
  tick();
  battery.batteries[0].fail_tag = true;
  set_capacity(1000);
  ticks(58);
  EXPECT_EQ(text(IDC_RATE_PER_MINUTE), "-10 mW/min");
  EXPECT_EQ(text(IDC_REMAINING_CAPACITY), "39990 mW");
}

}  // namespace
