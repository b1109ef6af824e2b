// The battery query of the panel over sysfs trees written by the test: what a Windows driver would
// have reported for each battery.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "battery/battery_query.h"
#include "linux/sysfs_battery_port.h"
#include "sysfs_fixture.h"
#include "text/wide_text.h"

namespace {

using namespace battery_class;

// Supplies by name with their uevent, or attribute files beside them (alarm, type) by path.
using Files = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kAcOnline = "POWER_SUPPLY_NAME=AC\nPOWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=1\n";
constexpr const char* kAcOffline = "POWER_SUPPLY_NAME=AC\nPOWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n";

// An ACPI energy battery, as a ThinkPad's kernel writes it. Its `alarm` is a file of its own.
const std::string kEnergyBattery =
    "POWER_SUPPLY_NAME=BAT0\nPOWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Charging\nPOWER_SUPPLY_PRESENT="
    "1\n"
    "POWER_SUPPLY_TECHNOLOGY=Li-ion\nPOWER_SUPPLY_CYCLE_COUNT=87\nPOWER_SUPPLY_VOLTAGE_MIN_DESIGN=11580000\n"
    "POWER_SUPPLY_VOLTAGE_NOW=12420000\nPOWER_SUPPLY_POWER_NOW=15250000\nPOWER_SUPPLY_ENERGY_FULL_DESIGN="
    "57000000\n"
    "POWER_SUPPLY_ENERGY_FULL=51870000\nPOWER_SUPPLY_ENERGY_NOW=31020000\nPOWER_SUPPLY_CAPACITY=59\n"
    "POWER_SUPPLY_CAPACITY_LEVEL=Normal\nPOWER_SUPPLY_MODEL_NAME=5B10W13930\n"
    "POWER_SUPPLY_MANUFACTURER=SMP\nPOWER_SUPPLY_SERIAL_NUMBER=  417\n";
const Files kEnergyAlarm = {{"BAT0/alarm", "2850000\n"}};

// A charge battery from a kernel before 5.8 (no type in the uevent), as an LGC pack reported itself;
// the alarm in µAh, as the ACPI driver gives it for charge batteries.
const std::string kChargeBattery =
    "POWER_SUPPLY_NAME=BAT0\nPOWER_SUPPLY_STATUS=Charging\nPOWER_SUPPLY_PRESENT=1\n"
    "POWER_SUPPLY_TECHNOLOGY=Li-ion\nPOWER_SUPPLY_CYCLE_COUNT=0\nPOWER_SUPPLY_VOLTAGE_MIN_DESIGN=11100000\n"
    "POWER_SUPPLY_VOLTAGE_NOW=12796000\nPOWER_SUPPLY_CURRENT_NOW=2977000\n"
    "POWER_SUPPLY_CHARGE_FULL_DESIGN=5600000\nPOWER_SUPPLY_CHARGE_FULL=1802000\n"
    "POWER_SUPPLY_CHARGE_NOW=501000\nPOWER_SUPPLY_CAPACITY=27\nPOWER_SUPPLY_CAPACITY_LEVEL=Normal\n"
    "POWER_SUPPLY_MODEL_NAME=42T4865\nPOWER_SUPPLY_MANUFACTURER=LGC\nPOWER_SUPPLY_SERIAL_NUMBER=10153\n";

// The uevent with one property's value changed where the kernel writes it.
std::string replaced(std::string text, const std::string& property, const std::string& value) {
  const std::string key = "POWER_SUPPLY_" + property + "=";
  const size_t start = text.find(key);
  return text.replace(start + key.size(), text.find('\n', start) - start - key.size(), value);
}

std::string narrow(const char16_t* text) {
  std::string out;
  for (; *text != 0; ++text) {
    out.push_back(static_cast<char>(*text));
  }
  return out;
}

struct Expected {
  int result = 1;
  int designed = 0, full = 0, remaining = 0, alert1 = 0;
  int voltage = 0, rate = 0;
  ULONG power_state = 0;
  const char* chemistry = "";
  const char* manufacturer = "N/A";
  const char* unique_id = "N/A";
  int cycle_count = 0;
};

struct MappingCase {
  const char* name;
  Files supplies;
  Expected expected;
  Files attributes = {};
};

const std::vector<MappingCase>& mapping_cases() {
  static const std::vector<MappingCase> cases = {
      {"energy battery charging on AC",
       {{"AC", kAcOnline}, {"BAT0", kEnergyBattery}},
       {1, 57000, 51870, 31020, 2850, 12420, 15250, BATTERY_POWER_ON_LINE | BATTERY_CHARGING, "LION", "SMP",
        "5B10W13930 417", 87},
       kEnergyAlarm},
      {"charge battery of an old kernel: type from its file, alarm in microampere-hours",
       {{"AC", kAcOnline}, {"BAT0", kChargeBattery}},
       {1, 62160, 20002, 5561, 3108, 12796, 38093, BATTERY_POWER_ON_LINE | BATTERY_CHARGING, "LION", "LGC",
        "42T4865 10153"},
       {{"BAT0/type", "Battery\n"}, {"BAT0/alarm", "280000\n"}}},
      {"charge battery: microampere-hours at the design voltage",
       {{"AC", kAcOffline},
        {"BAT0",
         "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_TECHNOLOGY=Li-poly\n"
         "POWER_SUPPLY_VOLTAGE_MIN_DESIGN=7600000\nPOWER_SUPPLY_VOLTAGE_NOW=8000000\n"
         "POWER_SUPPLY_CURRENT_NOW=-1250000\nPOWER_SUPPLY_CHARGE_FULL_DESIGN=6000000\n"
         "POWER_SUPPLY_CHARGE_FULL=5500000\nPOWER_SUPPLY_CHARGE_NOW=2750000\nPOWER_SUPPLY_CYCLE_COUNT=0\n"}},
       {1, 45600, 41800, 20900, 0, 8000, -10000, BATTERY_DISCHARGING, "LiP", "N/A", "N/A", 0}},
      {"power_now missing while discharging: the rate is unknown",
       {{"AC", kAcOffline},
        {"BAT0",
         "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_ENERGY_FULL=50000000\n"
         "POWER_SUPPLY_ENERGY_FULL_DESIGN=50000000\nPOWER_SUPPLY_ENERGY_NOW=40000000\n"
         "POWER_SUPPLY_VOLTAGE_NOW=11000000\n"}},
       {1, 50000, 50000, 40000, 0, 11000, BATTERY_UNKNOWN_RATE, BATTERY_DISCHARGING}},
      {"zero voltage and no capacities: the class's unknown markers",
       {{"BAT0",
         "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Unknown\nPOWER_SUPPLY_VOLTAGE_NOW=0\n"
         "POWER_SUPPLY_ENERGY_FULL_DESIGN=48000000\nPOWER_SUPPLY_POWER_NOW=0\n"
         "POWER_SUPPLY_CAPACITY_LEVEL=Critical\n"}},
       {1, 48000, -1, -1, 0, -1, 0, BATTERY_CRITICAL}},
      {"garbage in the serial and the model, no trailing newline",
       {{"AC", kAcOnline},
        {"BAT1",
         "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Full\nPOWER_SUPPLY_ENERGY_FULL=40000000\n"
         "POWER_SUPPLY_ENERGY_NOW=40000000\nPOWER_SUPPLY_MODEL_NAME=\x01\xff"
         "DELL 7FHHV\x7f\n"
         "POWER_SUPPLY_SERIAL_NUMBER=\xe9\x12"
         "3ACE  "}},
       {1, -1, 40000, 40000, 0, -1, BATTERY_UNKNOWN_RATE, BATTERY_POWER_ON_LINE, "", "N/A",
        "DELL 7FHHV 3ACE"}},
      {"two batteries: the second is the one reported",
       {{"AC", kAcOnline},
        {"BAT0", kEnergyBattery},
        {"BAT1",
         "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Not charging\nPOWER_SUPPLY_TECHNOLOGY=NiMH\n"
         "POWER_SUPPLY_ENERGY_FULL=23000000\nPOWER_SUPPLY_ENERGY_NOW=22000000\n"
         "POWER_SUPPLY_POWER_NOW=0\nPOWER_SUPPLY_VOLTAGE_NOW=12000000\n"}},
       {1, -1, 23000, 22000, 0, 12000, 0, BATTERY_POWER_ON_LINE, "NiMH"}},
      {"energy above full is reported as read; the alarm file as a test bed writes it, without a newline",
       {{"AC", kAcOnline},
        {"BAT0", replaced(replaced(kEnergyBattery, "ENERGY_FULL", "93550000"), "ENERGY_NOW", "93790000")}},
       {1, 57000, 93550, 93790, 4677, 12420, 15250, BATTERY_POWER_ON_LINE | BATTERY_CHARGING, "LION", "SMP",
        "5B10W13930 417", 87},
       {{"BAT0/alarm", "4677000"}}},
      {"a negative reading is the unknown marker in energy units ...",
       {{"AC", kAcOnline},
        {"BAT0", replaced(replaced(kEnergyBattery, "ENERGY_NOW", "-1"), "ENERGY_FULL_DESIGN", "-999")}},
       {1, -1, 51870, -1, 2850, 12420, 15250, BATTERY_POWER_ON_LINE | BATTERY_CHARGING, "LION", "SMP",
        "5B10W13930 417", 87},
       kEnergyAlarm},
      {"... as in charge units",
       {{"AC", kAcOnline}, {"BAT0", replaced(kChargeBattery, "CHARGE_NOW", "-1")}},
       {1, 62160, 20002, -1, 0, 12796, 38093, BATTERY_POWER_ON_LINE | BATTERY_CHARGING, "LION", "LGC",
        "42T4865 10153"},
       {{"BAT0/type", "Battery"}}},
      {"only a percentage beside charge_full: remaining is that share of full",
       {{"cw2015-battery",
         "POWER_SUPPLY_NAME=cw2015-battery\nPOWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_CAPACITY=96\n"
         "POWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_PRESENT=1\nPOWER_SUPPLY_VOLTAGE_NOW=4067900\n"
         "POWER_SUPPLY_TIME_TO_EMPTY_NOW=23040\nPOWER_SUPPLY_TECHNOLOGY=Li-ion\n"
         "POWER_SUPPLY_CHARGE_COUNTER=1200000\nPOWER_SUPPLY_CHARGE_FULL=10000000\n"
         "POWER_SUPPLY_CHARGE_FULL_DESIGN=10000000\nPOWER_SUPPLY_CURRENT_NOW=-1500000\n"}},
       {1, 40679, 40679, 39052, 0, 4067, -6101, BATTERY_DISCHARGING, "LION"}},
      {"a pen's battery (scope Device) is not a system battery",
       {{"hid-pen-battery",
         "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_SCOPE=Device\nPOWER_SUPPLY_CAPACITY=80\n"}},
       {-1}},
      {"an empty slot gives no tag", {{"BAT0", "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_PRESENT=0\n"}}, {-2}},
      {"only a percentage: a relative battery",
       {{"USB-C", "POWER_SUPPLY_TYPE=USB\nPOWER_SUPPLY_ONLINE=1\n"},
        {"BAT0", "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Charging\nPOWER_SUPPLY_CAPACITY=64\n"}},
       {1, 100, 100, 64, 0, -1, BATTERY_UNKNOWN_RATE, BATTERY_POWER_ON_LINE | BATTERY_CHARGING}},
      {"a current without any voltage is no rate, not a rate of 0",
       {{"AC", "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=1\n"},
        {"BAT0",
         "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Charging\nPOWER_SUPPLY_CAPACITY=64\n"
         "POWER_SUPPLY_CURRENT_NOW=1250000\n"}},
       {1, 100, 100, 64, 0, -1, BATTERY_UNKNOWN_RATE, BATTERY_POWER_ON_LINE | BATTERY_CHARGING}},
  };
  return cases;
}

TEST(SysfsBatteryPort, AnswersTheBatteryQueryAsAWindowsDriverWould) {
  for (const MappingCase& c : mapping_cases()) {
    SCOPED_TRACE(c.name);
    SysfsFixture tree;
    for (const auto& [name, uevent] : c.supplies) {
      tree.supply(name, uevent);
    }
    for (const auto& [path, text] : c.attributes) {
      tree.write("power_supply/" + path, text);
    }
    PosixSysfsFiles files;
    SysfsBatteryPort port(files, tree.supplies());
    BatterySnapshot snapshot{};
    const Expected& e = c.expected;
    ASSERT_EQ(query_battery(snapshot, port), e.result);
    EXPECT_EQ(narrow(snapshot.manufacturer_name), e.manufacturer);
    EXPECT_EQ(narrow(snapshot.unique_id), e.unique_id);
    EXPECT_EQ(port.open_device_sets(), 0);
    EXPECT_FALSE(port.device_open());
    if (e.result != 1) {
      continue;
    }
    EXPECT_EQ(static_cast<int>(snapshot.designed_capacity), e.designed);
    EXPECT_EQ(static_cast<int>(snapshot.full_charged_capacity), e.full);
    EXPECT_EQ(static_cast<int>(snapshot.remaining_capacity), e.remaining);
    EXPECT_EQ(static_cast<int>(snapshot.default_alert1), e.alert1);
    EXPECT_EQ(static_cast<int>(snapshot.voltage), e.voltage);
    EXPECT_EQ(snapshot.rate, e.rate);
    EXPECT_EQ(snapshot.power_state, e.power_state);
    EXPECT_EQ(narrow(snapshot.chemistry), e.chemistry);
    EXPECT_EQ(static_cast<int>(snapshot.cycle_count), e.cycle_count);
  }
}

TEST(SysfsBatteryPort, APackThatGoesAwayKeepsItsLastFiguresAndAnotherPackGetsAnotherTag) {
  SysfsFixture tree;
  tree.supply("AC", kAcOffline);
  tree.supply("BAT0", kEnergyBattery);
  PosixSysfsFiles files;
  SysfsBatteryPort port(files, tree.supplies());
  BatterySnapshot snapshot{};
  ASSERT_EQ(query_battery(snapshot, port), 1);
  ULONG first_tag = 0;
  {
    HANDLE device = port.CreateFileW(snapshot.device_path, FILE_ALL_ACCESS, 0, OPEN_EXISTING, 0);
    ULONG wait = 0;
    DWORD returned = 0;
    ASSERT_TRUE(port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_TAG, &wait, sizeof wait, &first_tag,
                                     sizeof first_tag, &returned));
    port.CloseHandle(device);
  }

  tree.remove("power_supply/BAT0");
  EXPECT_EQ(query_battery(snapshot, port), -1);
  EXPECT_EQ(snapshot.remaining_capacity, 31020u);
  EXPECT_EQ(narrow(snapshot.unique_id), "N/A");

  tree.supply("BAT0", replaced(kEnergyBattery, "SERIAL_NUMBER", "9001"));
  ASSERT_EQ(query_battery(snapshot, port), 1);
  EXPECT_EQ(narrow(snapshot.unique_id), "5B10W13930 9001");
  HANDLE device = port.CreateFileW(snapshot.device_path, FILE_ALL_ACCESS, 0, OPEN_EXISTING, 0);
  ULONG wait = 0, second_tag = 0;
  DWORD returned = 0;
  ASSERT_TRUE(port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_TAG, &wait, sizeof wait, &second_tag,
                                   sizeof second_tag, &returned));
  port.CloseHandle(device);
  EXPECT_NE(first_tag, second_tag);
}

TEST(SysfsBatteryPort, AQueryReadsEachSupplyOnceWhileItsFileStaysOpen) {
  SysfsFixture tree;
  tree.supply("AC", kAcOffline);
  tree.supply("BAT0", kEnergyBattery);
  tree.write("power_supply/BAT0/alarm", "2850000\n");
  PosixSysfsFiles files;
  SysfsBatteryPort port(files, tree.supplies());
  port.set_told_of_supply_changes(true);
  BatterySnapshot snapshot{};
  ASSERT_EQ(query_battery(snapshot, port), 1);
  const long opened = files.files_opened(), listed = files.directories_opened(), reads = files.reads();

  // The gauge moves and the alarm is written; the file held open is read again from its start.
  tree.supply("BAT0", replaced(kEnergyBattery, "ENERGY_NOW", "30000000"));
  tree.write("power_supply/BAT0/alarm", "5000000\n");
  for (int tick = 0; tick < 10; ++tick) {
    ASSERT_EQ(query_battery(snapshot, port), 1);
  }
  EXPECT_EQ(snapshot.remaining_capacity, 30000u);
  EXPECT_EQ(files.reads() - reads, 10 * 2);
  EXPECT_EQ(files.files_opened(), opened);
  EXPECT_EQ(files.directories_opened(), listed);
  // The alarm is static information: read again only when the supplies are listed again.
  EXPECT_EQ(snapshot.default_alert1, 2850u);
  port.supplies_changed();
  ASSERT_EQ(query_battery(snapshot, port), 1);
  EXPECT_EQ(snapshot.default_alert1, 5000u);
  EXPECT_EQ(files.directories_opened(), listed + 1);

  // Told of nothing, every query lists the folder.
  port.set_told_of_supply_changes(false);
  query_battery(snapshot, port);
  query_battery(snapshot, port);
  EXPECT_EQ(files.directories_opened(), listed + 3);
}

TEST(PowerSupplies, DecideWhetherTheMachineHasABattery) {
  const std::vector<std::pair<std::vector<std::pair<std::string, std::string>>, bool>> machines = {
      {{}, false},
      {{{"AC", kAcOnline}}, false},
      {{{"hidpp_battery_0", "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_SCOPE=Device\n"}}, false},
      {{{"AC", kAcOnline}, {"BAT0", kEnergyBattery}}, true},
  };
  for (const auto& [supplies, has_battery] : machines) {
    SysfsFixture tree;
    tree.write("power_supply/.keep", "");
    for (const auto& [name, uevent] : supplies) {
      tree.supply(name, uevent);
    }
    tree.remove("power_supply/.keep");
    PosixSysfsFiles files;
    EXPECT_EQ(has_system_battery(files, tree.supplies()), has_battery) << supplies.size();
  }
  PosixSysfsFiles files;
  EXPECT_FALSE(has_system_battery(files, "/nonexistent/power_supply"));
}

TEST(PowerSupplies, AnOldKernelsUeventWithoutTheTypeFallsBackToTheTypeFile) {
  SysfsFixture tree;
  tree.supply("BAT0", "POWER_SUPPLY_NAME=BAT0\nPOWER_SUPPLY_ENERGY_NOW=1000\n");
  tree.write("power_supply/BAT0/type", "Battery\n");
  PosixSysfsFiles files;
  const auto supplies = read_power_supplies(files, tree.supplies());
  ASSERT_EQ(supplies.size(), 1u);
  EXPECT_TRUE(supplies[0].is_battery());
}

}  // namespace
