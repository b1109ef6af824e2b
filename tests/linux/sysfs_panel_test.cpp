// The panel and its S1 log over batteries described as their kernels write them: the fields and rows
// are what the battery says, as a Windows driver would report it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../../res/control_ids.h"
#include "fakes/fake_dialog_port.h"
#include "fakes/fake_input_port.h"
#include "fakes/fake_lcd_port.h"
#include "fakes/fake_log_file_port.h"
#include "fakes/fake_power_port.h"
#include "fakes/fake_wlan_port.h"
#include "linux/sysfs_battery_port.h"
#include "panel/panel.h"
#include "sysfs_fixture.h"

namespace {

struct BatteryCase {
  const char* name;
  const char* supply;                // its folder, named as its driver names it
  std::string uevent;                // the start, as the kernel writes it
  std::string uevent_a_minute_on;    // the same battery 59 ticks later
  const char* alarm;                 // the alarm file's number, or null where the driver adds none
  std::vector<std::string> fields;   // full, alert 1, remaining and percentage at the start
  const char* estimate;              // after the minute: remaining minus alert 1, times 0.9, over the drain
  std::vector<std::string> s1_rows;  // without their time: each is taken at 10:20:30
};

std::string uevent(std::initializer_list<const char*> properties) {
  std::string text;
  for (const char* property : properties) {
    text += std::string("POWER_SUPPLY_") + property + "\n";
  }
  return text;
}

// A pack whose gauge reads past its own full mark, as the ACPI driver of a 97 Wh Dell reports it.
std::string xps(const char* energy_now) {
  return uevent({"NAME=BAT0", "TYPE=Battery", "STATUS=Discharging", "PRESENT=1", "TECHNOLOGY=Li-poly",
                 "CYCLE_COUNT=212", "VOLTAGE_MIN_DESIGN=11400000", "VOLTAGE_NOW=12912000",
                 "POWER_NOW=6771000", "ENERGY_FULL_DESIGN=97000000", "ENERGY_FULL=93550000", energy_now,
                 "CAPACITY=100", "CAPACITY_LEVEL=Full", "MODEL_NAME=DELL 70N2F97", "MANUFACTURER=SMP",
                 "SERIAL_NUMBER=5432"});
}

// A fuel gauge that gives its full charge and a percentage but no charge now (a cw2015, as on a
// Pinebook Pro): no design voltage, a negative current while discharging.
std::string fuel_gauge(const char* capacity) {
  return uevent({"NAME=cw2015-battery", "TYPE=Battery", capacity, "STATUS=Discharging", "PRESENT=1",
                 "VOLTAGE_NOW=4067900", "TIME_TO_EMPTY_NOW=23040", "TECHNOLOGY=Li-ion",
                 "CHARGE_COUNTER=1200000", "CHARGE_FULL=10000000", "CHARGE_FULL_DESIGN=10000000",
                 "CURRENT_NOW=-1500000"});
}

// A driver that marks the energy it could not read with -1, here on an otherwise sound ThinkPad pack.
std::string unreadable(const char* energy_now) {
  return uevent({"NAME=BAT0", "TYPE=Battery", "STATUS=Discharging", "PRESENT=1", "TECHNOLOGY=Li-ion",
                 "CYCLE_COUNT=87", "VOLTAGE_MIN_DESIGN=11580000", "VOLTAGE_NOW=12420000", "POWER_NOW=9000000",
                 "ENERGY_FULL_DESIGN=57000000", "ENERGY_FULL=52000000", energy_now, "CAPACITY=80",
                 "CAPACITY_LEVEL=Normal", "MODEL_NAME=5B10W13930", "MANUFACTURER=SMP", "SERIAL_NUMBER=417"});
}

std::string row(int item, const char* percent, int full, int remaining, int rate, int diff) {
  char text[128];
  std::snprintf(text, sizeof text, "%i\t10:20:30 %s%%\t%8i\t%8i\t%8i\t%8i", item, percent, full, remaining,
                rate, diff);
  return text;
}

const std::vector<BatteryCase>& cases() {
  static const std::vector<BatteryCase> all = {
      {"remaining above full, alert 1 from the alarm file",
       "BAT0",
       xps("ENERGY_NOW=93790000"),
       xps("ENERGY_NOW=93690000"),
       "4677000",
       {"93550 mW", "4677 mW", "93790 mW", "100.26 %"},
       "13hr 21min",
       {row(0, "100.26", 93550, 93790, -6771, 0), row(1, "100.15", 93550, 93690, -6771, -100),
        row(2, "100.15", 93550, 93690, -6771, 0)}},
      {"only a percentage beside the full charge",
       "cw2015-battery",
       fuel_gauge("CAPACITY=96"),
       fuel_gauge("CAPACITY=95"),
       nullptr,
       {"40679 mW", "0 mW", "39052 mW", "96.00 %"},
       "1hr 25min",
       {row(0, "96.00", 40679, 39052, -6101, 0), row(1, "95.00", 40679, 38645, -6101, -407),
        row(2, "95.00", 40679, 38645, -6101, 0)}},
      {"a reading the driver marks as invalid",
       "BAT0",
       unreadable("ENERGY_NOW=-1"),
       unreadable("ENERGY_NOW=-1"),
       "2600000",
       {"52000 mW", "2600 mW", "-1 mW", "8259552.49 %"},
       "<unset>",
       {row(0, "8259552.49", 52000, -1, -9000, 0), row(1, "8259552.49", 52000, -1, -9000, 0),
        row(2, "8259552.49", 52000, -1, -9000, 0)}},
  };
  return all;
}

struct SysfsPanel {
  FakeDialogPort dialog;
  FakeClockPort clock;
  PosixSysfsFiles files;
  SysfsBatteryPort battery;
  FakeLogFilePort logs;
  FakePowerPort power;
  FakeLcdPort lcd;
  FakeWlanPort wlan;
  FakeInputPort input;
  PanelPorts ports{dialog, clock, battery, logs, power, lcd, wlan, input};
  PanelState state;

  explicit SysfsPanel(const std::string& root) : battery(files, root) {
    battery.set_told_of_supply_changes(true);
    state.panel = reinterpret_cast<HWND>(0x100);
    state.host_window = reinterpret_cast<HWND>(0x200);
    clock.now = {2026, 12, 1, 7, 10, 20, 30, 0};
  }
  void send(UINT message, WPARAM wparam = 0) { panel_dialog_message(state, ports, message, wparam, 0); }
  std::string text(int id) const { return dialog.text(id); }
};

std::vector<std::string> rows_of(const std::string& log) {
  std::vector<std::string> rows;
  size_t start = log.find("\r\n") + 2;  // after the header
  for (size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
    rows.push_back(log.substr(start, end - start));
  }
  return rows;
}

TEST(SysfsPanel, ShowsAndLogsWhatTheBatterySays) {
  for (const BatteryCase& c : cases()) {
    // The kernel ends an attribute file with a newline; a umockdev test bed does not.
    for (const char* line_end : {"\n", ""}) {
      SCOPED_TRACE(std::string(c.name) + (*line_end == 0 ? ", no newline" : ", with newline"));
      SysfsFixture tree;
      tree.supply("AC", "POWER_SUPPLY_NAME=AC\nPOWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n");
      tree.supply(c.supply, c.uevent);
      if (c.alarm != nullptr) {
        tree.write(std::string("power_supply/") + c.supply + "/alarm", c.alarm + std::string(line_end));
      }
      SysfsPanel panel(tree.supplies());
      panel.send(WM_INITDIALOG);
      EXPECT_EQ(
          (std::vector<std::string>{panel.text(IDC_FULL_CHARGED_CAPACITY), panel.text(IDC_DEFAULT_ALERT1),
                                    panel.text(IDC_REMAINING_CAPACITY), panel.text(IDC_LIFE_PERCENT)}),
          c.fields);

      panel.send(WM_COMMAND, IDC_S1_SAVE);
      tree.supply(c.supply, c.uevent_a_minute_on);
      for (int tick = 0; tick < 59; ++tick) {
        panel.send(WM_TIMER, 1);
      }
      EXPECT_EQ(panel.text(IDC_ESTIMATED_TIME), c.estimate);
      panel.send(WM_COMMAND, IDC_S1_SAVE);
      EXPECT_EQ(rows_of(panel.logs.files[u"S1-10h20m30s-2026y12m07d.txt"]), c.s1_rows);
    }
  }
}

}  // namespace
