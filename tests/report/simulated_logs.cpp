#include "simulated_logs.h"

#include "../../res/control_ids.h"
#include "fakes/fake_dialog_port.h"
#include "fakes/fake_input_port.h"
#include "fakes/fake_lcd_port.h"
#include "fakes/fake_power_port.h"
#include "fakes/fake_wlan_port.h"
#include "logs/s1_session.h"
#include "logs/sleep_run.h"
#include "panel/panel_tick.h"
#include "report/calendar.h"
#include "simulated/simulated_battery_port.h"
#include "simulated/simulated_power_port.h"

namespace {

class SimulatedClock final : public MonotonicClock {
 public:
  uint64_t milliseconds() override { return now_ms; }
  uint64_t now_ms = 0;
};

// Local time that runs with the simulated clock from the given start.
class SimulatedClockPort final : public ClockPort {
 public:
  SimulatedClockPort(MonotonicClock& clock, const SYSTEMTIME& start)
      : clock_(clock),
        start_s_(days_from_civil(start.wYear, start.wMonth, start.wDay) * 86400 +
                 (start.wHour * 60 + start.wMinute) * 60 + start.wSecond) {}
  void GetLocalTime(SYSTEMTIME* time) override {
    const int64_t now = start_s_ + static_cast<int64_t>(clock_.milliseconds() / 1000);
    const CalendarDate date = civil_from_days(now / 86400);
    *time = {};
    time->wYear = static_cast<WORD>(date.year);
    time->wMonth = static_cast<WORD>(date.month);
    time->wDay = static_cast<WORD>(date.day);
    time->wHour = static_cast<WORD>(now % 86400 / 3600);
    time->wMinute = static_cast<WORD>(now % 3600 / 60);
    time->wSecond = static_cast<WORD>(now % 60);
  }

 private:
  MonotonicClock& clock_;
  int64_t start_s_;
};

struct SimulatedPanel {
  SimulatedPanel(LogFilePort& files, const SimulatedStart& start)
      : model(clock, start.charge_fraction),
        battery(model),
        local_clock(clock, start.local_time),
        ports{dialog, local_clock, battery, files, power, lcd, wlan, input} {}

  void tick_seconds(int64_t seconds) {
    for (int64_t i = 0; i < seconds; ++i) {
      clock.now_ms += 1000;
      panel_tick(state, ports);
    }
  }

  SimulatedClock clock;
  BatteryModel model;
  SimulatedBatteryPort battery;
  SimulatedClockPort local_clock;
  FakeDialogPort dialog;
  FakePowerPort power;
  FakeLcdPort lcd;
  FakeWlanPort wlan;
  FakeInputPort input;
  const PanelPorts ports;
  PanelState state{};
};

}  // namespace

void run_simulated_s1_session(LogFilePort& files, const SimulatedStart& start, int minutes, bool press_stop) {
  SimulatedPanel panel(files, start);
  start_s1_session(panel.state, panel.ports);
  panel.tick_seconds(int64_t{minutes} * 60);
  if (press_stop) {
    stop_s1_session(panel.state, panel.ports);
  }
}

void run_simulated_sleep_test(LogFilePort& files, const SimulatedStart& start, bool hibernate,
                              int64_t asleep_s) {
  SimulatedPanel panel(files, start);
  panel.tick_seconds(5);
  panel.power.while_suspended = [&] {
    panel.model.fall_asleep(hibernate ? kHibernateLoadMw : kSleepLoadMw, 1.0);
    panel.clock.now_ms += static_cast<uint64_t>(asleep_s) * 1000;
    panel.model.wake_up();
  };
  start_sleep_test(panel.state, panel.ports, hibernate ? IDC_S4 : IDC_S3);
  panel.clock.now_ms += 2000;  // the resume's broadcast comes a moment after the wake
  finish_sleep_test(panel.state, panel.ports);
}
