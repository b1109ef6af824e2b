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

constexpr const char* kAcOnline = "POWER_SUPPLY_NAME=AC\nPOWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=1\n";
constexpr const char* kAcOffline = "POWER_SUPPLY_NAME=AC\nPOWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n";

// An ACPI energy battery, as a ThinkPad's kernel writes it.
const std::string kEnergyBattery =
    "POWER_SUPPLY_NAME=BAT0\nPOWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Charging\nPOWER_SUPPLY_PRESENT="
    "1\n"
    "POWER_SUPPLY_TECHNOLOGY=Li-ion\nPOWER_SUPPLY_CYCLE_COUNT=87\nPOWER_SUPPLY_VOLTAGE_MIN_DESIGN=11580000\n"
    "POWER_SUPPLY_VOLTAGE_NOW=12420000\nPOWER_SUPPLY_POWER_NOW=15250000\nPOWER_SUPPLY_ENERGY_FULL_DESIGN="
    "57000000\n"
    "POWER_SUPPLY_ENERGY_FULL=51870000\nPOWER_SUPPLY_ENERGY_NOW=31020000\nPOWER_SUPPLY_CAPACITY=59\n"
    "POWER_SUPPLY_CAPACITY_LEVEL=Normal\nPOWER_SUPPLY_ALARM=2850000\nPOWER_SUPPLY_MODEL_NAME=5B10W13930\n"
    "POWER_SUPPLY_MANUFACTURER=SMP\nPOWER_SUPPLY_SERIAL_NUMBER=  417\n";

std::string with(std::string text, const std::string& line) {
  return text + line + "\n";
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
  std::vector<std::pair<std::string, std::string>> supplies;
  Expected expected;
};

const std::vector<MappingCase>& mapping_cases() {
  static const std::vector<MappingCase> cases = {
      {"energy battery charging on AC",
       {{"AC", kAcOnline}, {"BAT0", kEnergyBattery}},
       {1, 57000, 51870, 31020, 2850, 12420, 15250, BATTERY_POWER_ON_LINE | BATTERY_CHARGING, "LION", "SMP",
        "5B10W13930 417", 87}},
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
      {"energy above full is cut to full; full above design stays",
       {{"AC", kAcOnline},
        {"BAT0", with(with(kEnergyBattery, "POWER_SUPPLY_ENERGY_NOW=59000000"),
                      "POWER_SUPPLY_ENERGY_FULL=58000000")}},
       {1, 57000, 58000, 58000, 2850, 12420, 15250, BATTERY_POWER_ON_LINE | BATTERY_CHARGING, "LION", "SMP",
        "5B10W13930 417", 87}},
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
    // One directory listing and one uevent file per supply, however many requests the query makes.
    EXPECT_EQ(files.directories_opened(), 1);
    EXPECT_EQ(files.files_opened(), static_cast<long>(c.supplies.size()));
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

  tree.supply("BAT0", with(kEnergyBattery, "POWER_SUPPLY_SERIAL_NUMBER=9001"));
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
