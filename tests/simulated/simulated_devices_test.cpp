// The LCD, the Wi-Fi adapter, the display and volume, and the key chords, each driven by the panel's
// own procedures.
#include <gtest/gtest.h>

#include <cstring>

#include "devices/brightness.h"
#include "devices/shortcuts.h"
#include "devices/wireless_radio.h"
#include "posix/uuid_text.h"
#include "simulated_laptop_fixture.h"

namespace {

using namespace video_brightness;
using namespace native_wifi;

TEST(SimulatedLcd, AnswersTheLevelsTheCurrentLevelAndSetsANewOne) {
  SimulatedLcdPort lcd;
  const HANDLE device =
      lcd.CreateFileW(u"\\\\.\\LCD", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
  ASSERT_NE(device, INVALID_HANDLE_VALUE);
  unsigned char levels[256] = {};
  DWORD returned = 0;
  ASSERT_TRUE(lcd.DeviceIoControl(device, IOCTL_VIDEO_QUERY_SUPPORTED_BRIGHTNESS, nullptr, 0, levels,
                                  sizeof levels, &returned));
  EXPECT_EQ(std::vector<unsigned char>(levels, levels + returned),
            (std::vector<unsigned char>{12, 25, 37, 50, 62, 75, 87, 96}));
  DISPLAY_BRIGHTNESS current{};
  ASSERT_TRUE(lcd.DeviceIoControl(device, IOCTL_VIDEO_QUERY_DISPLAY_BRIGHTNESS, nullptr, 0, &current,
                                  sizeof current, &returned));
  EXPECT_EQ(current.ucDCBrightness, 62);
  EXPECT_EQ(current.ucACBrightness, 62);
  DISPLAY_BRIGHTNESS wanted{DISPLAYPOLICY_DC, 37, 37};
  EXPECT_TRUE(lcd.DeviceIoControl(device, IOCTL_VIDEO_SET_DISPLAY_BRIGHTNESS, &wanted, sizeof wanted, nullptr,
                                  0, &returned));
  EXPECT_EQ(lcd.level(), 37);
  wanted.ucDCBrightness = 101;
  EXPECT_FALSE(lcd.DeviceIoControl(device, IOCTL_VIDEO_SET_DISPLAY_BRIGHTNESS, &wanted, sizeof wanted,
                                   nullptr, 0, &returned));
  EXPECT_FALSE(
      lcd.DeviceIoControl(device, IOCTL_VIDEO_QUERY_SUPPORTED_BRIGHTNESS, nullptr, 0, levels, 4, &returned))
      << "a buffer too small for the list";
  EXPECT_TRUE(lcd.CloseHandle(device));
  EXPECT_EQ(lcd.open_handles(), 0);
  EXPECT_EQ(lcd.CreateFileW(u"\\\\.\\LCD2", GENERIC_READ, 0, OPEN_EXISTING, 0), INVALID_HANDLE_VALUE);
}

TEST(SimulatedLcd, DarkAndBrightStepThroughTheNormalisedList) {
  SimulatedLcdPort lcd;
  for (const int expected : {50, 37, 25, 12, 12}) {
    EXPECT_EQ(step_brightness(lcd, false), 0);
    EXPECT_EQ(lcd.level(), expected);
  }
  for (const int expected : {25, 37}) {  // back up from the lowest level, one level a press
    step_brightness(lcd, true);
    EXPECT_EQ(lcd.level(), expected);
  }
  EXPECT_EQ(lcd.open_handles(), 0);
}

TEST(SimulatedWlan, TheToggleSwitchesBothPhysOffAndOnAndGivesEverythingBack) {
  SimulatedWlanPort wlan;
  ASSERT_TRUE(wlan.radio_on());
  EXPECT_EQ(toggle_wireless_radio(wlan), 0);
  EXPECT_FALSE(wlan.radio_on());
  EXPECT_EQ(wlan.phy_state(0), dot11_radio_state_off);
  EXPECT_EQ(wlan.phy_state(1), dot11_radio_state_off);
  toggle_wireless_radio(wlan);
  EXPECT_EQ(wlan.phy_state(0), dot11_radio_state_on);
  EXPECT_EQ(wlan.phy_state(1), dot11_radio_state_on);
  EXPECT_EQ(wlan.open_clients(), 0);
  EXPECT_EQ(wlan.live_blocks(), 0);
  EXPECT_EQ(wlan.live_strings(), 0);
  EXPECT_EQ(wlan.bad_frees(), 0);
}

TEST(SimulatedWlan, AnswersInTheRecordSizesTheToggleChecks) {
  SimulatedWlanPort wlan;
  HANDLE client = nullptr;
  DWORD version = 0;
  ASSERT_EQ(wlan.WlanOpenHandle(2, nullptr, &version, &client), 0u);
  EXPECT_EQ(wlan.WlanOpenHandle(3, nullptr, &version, &client), 87u);
  DWORD size = 0;
  void* data = nullptr;
  ASSERT_EQ(wlan.WlanQueryInterface(client, &kSimulatedWlanInterface, wlan_intf_opcode_radio_state, nullptr,
                                    &size, &data, nullptr),
            0u);
  EXPECT_EQ(size, 772u);
  EXPECT_EQ(static_cast<WLAN_RADIO_STATE*>(data)->dwNumberOfPhys, 2u);
  wlan.WlanFreeMemory(data);
  wlan.WlanFreeMemory(data);
  EXPECT_EQ(wlan.bad_frees(), 1) << "a block freed twice";
  const WLAN_PHY_RADIO_STATE third_phy{2, dot11_radio_state_off, dot11_radio_state_on};
  EXPECT_NE(wlan.WlanSetInterface(client, &kSimulatedWlanInterface, wlan_intf_opcode_radio_state,
                                  sizeof third_phy, &third_phy, nullptr),
            0u);
  EXPECT_EQ(wlan.WlanCloseHandle(client, nullptr), 0u);
  EXPECT_NE(wlan.WlanCloseHandle(client, nullptr), 0u);
}

TEST(UuidText, ConvertsBothWaysInLowerCase) {
  EXPECT_EQ(uuid_to_text(kSimulatedWlanInterface), u"6c9a3f2e-5b1d-4e07-9a8c-2f40d1b7e519");
  const auto parsed = uuid_from_text(u"6C9A3F2E-5B1D-4E07-9A8C-2F40D1B7E519");
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(std::memcmp(&*parsed, &kSimulatedWlanInterface, sizeof(GUID)), 0);
  EXPECT_FALSE(uuid_from_text(u"{6c9a3f2e-5b1d-4e07-9a8c-2f40d1b7e519}"));
  EXPECT_FALSE(uuid_from_text(u"6c9a3f2e-5b1d-4e07-9a8c-2f40d1b7e51g"));
  EXPECT_FALSE(uuid_from_text(u"6c9a3f2e+5b1d-4e07-9a8c-2f40d1b7e519"));
}

using SimulatedDesktopTest = SimulatedLaptopTest;

TEST_F(SimulatedDesktopTest, XBlanksTheDisplayAndTheNextXTurnsItOn) {
  dialog.create_panel();
  toggle_display_power(state, dialog);
  EXPECT_FALSE(desktop.display_on());
  toggle_display_power(state, dialog);
  EXPECT_TRUE(desktop.display_on());
  toggle_display_power(state, dialog);
  desktop.wake_display();  // a key
  EXPECT_TRUE(desktop.display_on());
  toggle_display_power(state, dialog);  // sends -1: the display stays on
  EXPECT_TRUE(desktop.display_on());
}

TEST_F(SimulatedDesktopTest, VolumeStepsByTwoWithinZeroToHundredAndMuteToggles) {
  dialog.create_panel();
  send_app_command(state, dialog, 8);
  EXPECT_TRUE(desktop.muted());
  send_app_command(state, dialog, 8);
  EXPECT_FALSE(desktop.muted());
  send_app_command(state, dialog, 10);
  EXPECT_EQ(desktop.volume_percent(), kStartVolumePercent + 2);
  for (int i = 0; i < 60; ++i) {
    send_app_command(state, dialog, 10);
  }
  EXPECT_EQ(desktop.volume_percent(), 100);
  send_app_command(state, dialog, 8);
  send_app_command(state, dialog, 9);
  EXPECT_EQ(desktop.volume_percent(), 98);
  EXPECT_FALSE(desktop.muted()) << "a volume key unmutes";
}

TEST(SimulatedDesktopAlone, SystemCommandsKeepTheirLowFourBitsForTheSystem) {
  SimulatedDesktop desktop;
  EXPECT_EQ(desktop.default_processing(WM_SYSCOMMAND, SC_MONITORPOWER | 0x2, 2), 0);
  EXPECT_FALSE(desktop.display_on());
  desktop.default_processing(WM_SYSCOMMAND, 0xF020, -1);  // SC_MINIMIZE: not the display's
  EXPECT_FALSE(desktop.display_on());
}

TEST(SimulatedInput, AcknowledgesACompletedChordOnly) {
  SimulatedInputPort input;
  PanelState state{};
  send_win_chord(state, input, 0x58);
  EXPECT_EQ(input.note(), u"Windows+X: Mobility Center");
  send_win_chord(state, input, 0x50);
  EXPECT_EQ(input.note(), u"Windows+P: project");
  EXPECT_EQ(input.chords(), 2);
  EXPECT_FALSE(input.windows_key_down());

  // The Windows key released before the letter came up: no chord.
  INPUT events[3] = {};
  for (INPUT& event : events) {
    event.type = INPUT_KEYBOARD;
  }
  events[0].ki.wVk = VK_LWIN;
  events[1].ki.wVk = 0x58;
  events[2].ki.wVk = VK_LWIN;
  events[2].ki.dwFlags = KEYEVENTF_KEYUP;
  EXPECT_EQ(input.SendInput(3, events, sizeof(INPUT)), 3u);
  EXPECT_EQ(input.chords(), 2);
  EXPECT_EQ(input.SendInput(1, events, 20), 0u) << "a record size that is not INPUT's";
}

}  // namespace
