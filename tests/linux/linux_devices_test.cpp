// The real laptop's device ports over sysfs trees the tests write: the backlight stepped through the
// panel's own brightness logic, the radio toggled over rfkill with /dev/rfkill as a plain file, volume
// and display power over stand-ins, and the resume timer's failure path with no logind to reach.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "../../res/control_ids.h"
#include "devices/brightness.h"
#include "devices/wireless_radio.h"
#include "fakes/fake_dialog_port.h"
#include "fakes/fake_log_file_port.h"
#include "linux/backlight_levels.h"
#include "linux/linux_laptop.h"
#include "panel/deferred_reports.h"
#include "panel/panel_state.h"
#include "power/power_actions.h"
#include "sysfs_fixture.h"

namespace {

// An address no bus listens on: nothing in these tests can reach a logind.
constexpr char kNoBus[] = "unix:path=/nonexistent/chargewright-test-bus";

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

struct BacklightCase {
  const char* name;
  std::vector<std::pair<std::string, std::string>> devices;  // name, type
  uint32_t max;
  uint32_t start;
  std::vector<bool> presses;  // true: "Bright"
  std::vector<int> levels;    // read back after each press
  std::string stepped;        // the device whose file moved
};

class BacklightStepping : public testing::TestWithParam<BacklightCase> {};

TEST_P(BacklightStepping, EachPressSetsTheNeighbouringLevelAndReadsItBack) {
  const BacklightCase& c = GetParam();
  SysfsFixture tree;
  for (const auto& [name, type] : c.devices) {
    tree.write("backlight/" + name + "/type", type + "\n");
    tree.write("backlight/" + name + "/max_brightness", std::to_string(c.max) + "\n");
    tree.write("backlight/" + name + "/brightness", std::to_string(c.start) + "\n");
  }
  PosixSysfsFiles files;
  BacklightLcdPort lcd(files, LogindBus(kNoBus), tree.path("backlight"));
  for (size_t i = 0; i < c.presses.size(); ++i) {
    ASSERT_EQ(step_brightness(lcd, c.presses[i]), 0) << lcd.problem();
    EXPECT_EQ(lcd.current()->name, c.stepped);
    EXPECT_EQ(static_cast<int>(percent_for_raw(lcd.current()->raw, c.max)), c.levels[i]) << "press " << i;
  }
  EXPECT_EQ(lcd.open_handles(), 0);
  for (const auto& [name, type] : c.devices) {
    if (name != c.stepped) {
      EXPECT_EQ(read_file(tree.path("backlight/" + name + "/brightness")), std::to_string(c.start) + "\n");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Backlights, BacklightStepping,
    testing::Values(
        // Eight steps: the levels 12, 25, 37, 50, 62, 75, 87 and 100.
        BacklightCase{"EightStepsDarkFromHalf",
                      {{"acpi_video0", "firmware"}},
                      8,
                      4,
                      {false, false, false, false, false},
                      {37, 25, 12, 12, 12},
                      "acpi_video0"},
        BacklightCase{"EightStepsDarkThenBrightReturns",
                      {{"acpi_video0", "firmware"}},
                      8,
                      4,
                      {false, true, true, true, true},
                      {37, 50, 62, 75, 87},
                      "acpi_video0"},
        BacklightCase{"EightStepsBrightAtTheTopStays",
                      {{"acpi_video0", "firmware"}},
                      8,
                      8,
                      {true},
                      {100},
                      "acpi_video0"},
        // A raw device with a large range: one percent per press, set and read through one mapping.
        BacklightCase{"LargeRawRange",
                      {{"intel_backlight", "raw"}},
                      120000,
                      60000,
                      {false, false, true, true, true},
                      {49, 48, 49, 50, 51},
                      "intel_backlight"},
        // "Dark" stops at the lowest level, whose raw value is 1, never 0 (backlight off); "Bright"
        // comes back from there.
        BacklightCase{"LargeRawRangeAtTheBottom",
                      {{"intel_backlight", "raw"}},
                      120000,
                      1200,
                      {false, false, true},
                      {0, 0, 1},
                      "intel_backlight"},
        // Firmware before platform before raw, whatever the names' order.
        BacklightCase{"FirmwareFirst",
                      {{"a_raw", "raw"}, {"b_platform", "platform"}, {"c_firmware", "firmware"}},
                      8,
                      4,
                      {true},
                      {62},
                      "c_firmware"},
        BacklightCase{"PlatformBeforeRaw",
                      {{"a_raw", "raw"}, {"b_platform", "platform"}},
                      8,
                      4,
                      {false},
                      {37},
                      "b_platform"}),
    [](const testing::TestParamInfo<BacklightCase>& row) { return std::string(row.param.name); });

TEST(BacklightStepping, NoBacklightFailsTheOpenAndChangesNothing) {
  SysfsFixture tree;
  tree.write("backlight/broken/max_brightness", "0\n");
  tree.write("backlight/broken/brightness", "0\n");
  PosixSysfsFiles files;
  BacklightLcdPort lcd(files, LogindBus(kNoBus), tree.path("backlight"));
  EXPECT_EQ(step_brightness(lcd, true), 1);
  EXPECT_EQ(read_file(tree.path("backlight/broken/brightness")), "0\n");
}

struct RadioCase {
  const char* name;
  std::vector<std::string> soft;  // per wlan switch, "0" or "1"
  uint8_t expected_soft;          // in every event written
};

class RadioToggle : public testing::TestWithParam<RadioCase> {};

TEST_P(RadioToggle, EveryWlanSwitchGetsTheOppositeOfTheFirst) {
  const RadioCase& c = GetParam();
  SysfsFixture tree;
  tree.write("net/wlan0/wireless/.keep", "");
  tree.write("net/eth0/address", "00:11:22:33:44:55\n");
  tree.write("rfkill/rfkill1/type", "bluetooth\n");
  tree.write("rfkill/rfkill1/soft", "0\n");
  std::vector<uint32_t> indices;
  for (size_t i = 0; i < c.soft.size(); ++i) {
    const std::string entry = "rfkill/rfkill" + std::to_string(i * 2) + "/";
    tree.write(entry + "type", "wlan\n");
    tree.write(entry + "name", "phy" + std::to_string(i) + "\n");
    tree.write(entry + "soft", c.soft[i] + "\n");
    tree.write(entry + "hard", "0\n");
    indices.push_back(static_cast<uint32_t>(i * 2));
  }
  tree.write("dev-rfkill", "");
  PosixSysfsFiles files;
  RfkillWlanPort wlan(files, {tree.path("net"), tree.path("rfkill"), tree.path("dev-rfkill")});
  EXPECT_EQ(toggle_wireless_radio(wlan), 0);
  const std::string events = read_file(tree.path("dev-rfkill"));
  ASSERT_EQ(events.size(), 8 * indices.size());
  for (size_t i = 0; i < indices.size(); ++i) {
    const auto* event = reinterpret_cast<const uint8_t*>(events.data() + 8 * i);
    EXPECT_EQ(event[0], indices[i]);  // idx, little-endian
    EXPECT_EQ(event[4], 1);           // RFKILL_TYPE_WLAN
    EXPECT_EQ(event[5], 2);           // RFKILL_OP_CHANGE
    EXPECT_EQ(event[6], c.expected_soft);
  }
  EXPECT_EQ(wlan.outstanding(), 0);  // every client handle and block given back
}

INSTANTIATE_TEST_SUITE_P(Switches, RadioToggle,
                         testing::Values(RadioCase{"OnGoesOff", {"0", "0"}, 1},
                                         RadioCase{"OffGoesOn", {"1", "1"}, 0},
                                         RadioCase{"TheFirstSwitchDecides", {"1", "0"}, 0}),
                         [](const testing::TestParamInfo<RadioCase>& row) {
                           return std::string(row.param.name);
                         });

TEST(RadioToggle, NoWirelessInterfaceSetsNothing) {
  SysfsFixture tree;
  tree.write("net/eth0/address", "00:11:22:33:44:55\n");
  tree.write("rfkill/rfkill0/type", "wlan\n");
  tree.write("rfkill/rfkill0/soft", "0\n");
  tree.write("dev-rfkill", "");
  PosixSysfsFiles files;
  RfkillWlanPort wlan(files, {tree.path("net"), tree.path("rfkill"), tree.path("dev-rfkill")});
  toggle_wireless_radio(wlan);
  EXPECT_EQ(read_file(tree.path("dev-rfkill")), "");
}

class FakeMixer final : public Mixer {
 public:
  std::optional<MixerReading> read() override {
    if (!present) {
      return std::nullopt;
    }
    return reading;
  }
  bool set_percent(int percent) override { return present && (reading.percent = percent, true); }
  bool set_muted(bool muted) override { return present && (reading.muted = muted, true); }
  const std::string& problem() const override { return problem_; }
  MixerReading reading;
  bool present = true;

 private:
  std::string problem_ = "no sound card";
};

class FakeDisplay final : public DisplayPower {
 public:
  bool set_on(bool on) override {
    calls.push_back(on);
    return true;
  }
  std::string unavailable() const override { return {}; }
  bool on() const override { return calls.empty() || calls.back(); }
  std::vector<bool> calls;
};

struct VolumeCase {
  const char* name;
  MixerReading start;
  LPARAM command;
  MixerReading expected;
  LRESULT handled;
};

class Volume : public testing::TestWithParam<VolumeCase> {};

TEST_P(Volume, AppCommandsMoveTheMixer) {
  const VolumeCase& c = GetParam();
  auto mixer = std::make_unique<FakeMixer>();
  FakeMixer& seen = *mixer;
  seen.reading = c.start;
  LinuxDesktop desktop(std::move(mixer), std::make_unique<FakeDisplay>());
  EXPECT_EQ(desktop.default_processing(WM_APPCOMMAND, 0, c.command), c.handled);
  EXPECT_EQ(seen.reading.percent, c.expected.percent);
  EXPECT_EQ(seen.reading.muted, c.expected.muted);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, Volume,
    testing::Values(VolumeCase{"MuteMutes", {40, false}, 0x00080000, {40, true}, TRUE},
                    VolumeCase{"MuteUnmutes", {40, true}, 0x00080000, {40, false}, TRUE},
                    VolumeCase{"DownStepsAndUnmutes", {40, true}, 0x00090000, {38, false}, TRUE},
                    VolumeCase{"UpStops", {99, false}, 0x000A0000, {100, false}, TRUE},
                    VolumeCase{"DownStops", {1, false}, 0x00090000, {0, false}, TRUE},
                    VolumeCase{"OtherCommandsPass", {40, false}, 0x00070000, {40, false}, FALSE}),
    [](const testing::TestParamInfo<VolumeCase>& row) { return std::string(row.param.name); });

TEST(DisplayAndVolume, MonitorPowerSwitchesTheDisplayAndNoMixerRefuses) {
  auto mixer = std::make_unique<FakeMixer>();
  mixer->present = false;
  auto display = std::make_unique<FakeDisplay>();
  FakeDisplay& seen = *display;
  LinuxDesktop desktop(std::move(mixer), std::move(display));
  desktop.default_processing(WM_SYSCOMMAND, SC_MONITORPOWER, 2);
  desktop.default_processing(WM_SYSCOMMAND, SC_MONITORPOWER, -1);
  desktop.default_processing(WM_SYSCOMMAND, 0xF020, 2);  // SC_MINIMIZE: not the display's
  EXPECT_EQ(seen.calls, (std::vector<bool>{false, true}));
  EXPECT_EQ(desktop.default_processing(WM_APPCOMMAND, 0, 0x000A0000), FALSE);
}

// The whole laptop over a tree with no RTC and no logind: the resume timer fails as the design says,
// the suspend is still asked for and comes back at once, and the status strip says why.
TEST(LinuxLaptopPower, NoRtcAndNoLogindGiveTheTimerMessageAndAnImmediateReturn) {
  SysfsFixture tree;
  tree.supply("BAT0", "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\n");
  LinuxLaptopPaths paths;
  paths.power_supply_root = tree.supplies();
  paths.dmi_root = tree.path("dmi");
  paths.backlight_root = tree.path("backlight");
  paths.rtc_root = tree.path("rtc/rtc0");
  paths.rfkill = {tree.path("net"), tree.path("rfkill"), tree.path("dev-rfkill")};
  paths.system_bus_address = kNoBus;
  LinuxLaptopDevices devices{std::make_unique<FakeMixer>(), std::make_unique<FakeDisplay>()};
  LinuxLaptop laptop(paths, std::move(devices));
  FakeDialogPort dialog;
  FakeClockPort clock;
  FakeLogFilePort logs;
  PanelPorts ports{dialog,         clock,        laptop.battery(), logs,
                   laptop.power(), laptop.lcd(), laptop.wlan(),    laptop.input()};
  PanelState state;
  suspend_with_wake_timer(state, ports, false, -600'000'000);
  show_deferred_reports(state, ports);  // told once the suspend has returned
  ASSERT_EQ(dialog.message_boxes.size(), 1u);
  EXPECT_EQ(dialog.message_boxes[0].text, u"Can't Set Wait timer");
  EXPECT_EQ(state.wake_timer, nullptr);
  const LinuxLaptopDescription described = laptop.describe();
  EXPECT_NE(described.wake_alarm.find(u"wake alarm unavailable"), std::u16string::npos);
  EXPECT_NE(described.power.find(u"system bus"), std::u16string::npos);
  EXPECT_EQ(described.brightness, u"brightness unavailable: no backlight");
  EXPECT_EQ(described.volume, u"volume 0 %");
  EXPECT_EQ(laptop.power().open_handles(), 0);
  EXPECT_EQ(laptop.power().schemes_not_freed(), 0);
}

}  // namespace
