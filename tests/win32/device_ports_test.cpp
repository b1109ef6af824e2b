// The device buttons' Windows ports on what Wine (or Windows) offers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "devices/brightness.h"
#include "devices/shortcuts.h"
#include "devices/wireless_radio.h"
#include "panel/panel_state.h"
#include "win32/device_io_control_lcd_port.h"
#include "win32/send_input_port.h"
#include "win32/wlanapi_wlan_port.h"

namespace {

std::wstring directory_of(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring system_directory() {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  return std::wstring(directory, length);
}

TEST(Win32DevicePortsTest, BrightnessWithoutAnLcdDeviceEndsAtTheOpen) {
  DeviceIoControlLcdPort lcd;
  const HANDLE device =
      lcd.CreateFileW(u"\\\\.\\LCD", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
  if (device != INVALID_HANDLE_VALUE) {
    lcd.CloseHandle(device);
    GTEST_SKIP() << "this machine has a brightness device; not touching it";
  }
  EXPECT_EQ(step_brightness(lcd, false), 1);
  EXPECT_EQ(step_brightness(lcd, true), 1);
}

TEST(Win32DevicePortsTest, NativeWifiComesFromTheSystemDirectoryAndFindsWhatIsThere) {
  WlanApiWlanPort wlan;
  HANDLE client = nullptr;
  const DWORD opened = open_wlan_client(wlan, client);
  if (opened == 0) {
    EXPECT_NE(client, nullptr);
    wlan.WlanCloseHandle(client, nullptr);
  } else {
    EXPECT_EQ(client, nullptr);
  }
  const HMODULE module = GetModuleHandleW(L"wlanapi.dll");
  ASSERT_NE(module, nullptr) << "wlanapi.dll was not loaded";
  wchar_t path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(module, path, MAX_PATH), 0u);
  EXPECT_EQ(_wcsicmp(directory_of(path).c_str(), system_directory().c_str()), 0);

  char16_t text[kInterfaceTextSize] = {};
  find_wlan_interface(wlan, text);
  if (text[0] == 0) {
    EXPECT_EQ(toggle_wireless_radio(wlan), 0) << "no interface: nothing queried or set";
  }
}

TEST(Win32DevicePortsTest, UuidTextRoundTripsThroughTheRpcRuntime) {
  WlanApiWlanPort wlan;
  const GUID guid = {0x72631E54, 0x78A4, 0x11D0, {0xBC, 0xF7, 0x00, 0xAA, 0x00, 0xB7, 0xB3, 0x2A}};
  char16_t* text = nullptr;
  ASSERT_EQ(wlan.UuidToStringW(&guid, &text), 0);
  EXPECT_EQ(std::u16string(text), u"72631e54-78a4-11d0-bcf7-00aa00b7b32a");
  GUID back = {};
  EXPECT_EQ(wlan.UuidFromStringW(text, &back), 0);
  EXPECT_EQ(std::memcmp(&back, &guid, sizeof guid), 0);
  EXPECT_EQ(wlan.RpcStringFreeW(&text), 0);
  EXPECT_NE(wlan.UuidFromStringW(u"not a guid", &back), 0);
}

// Passes the chord's events on to Windows and keeps what each injection answered.
class AnsweringInput : public InputPort {
 public:
  std::vector<UINT> answers;
  UINT SendInput(UINT count, INPUT* inputs, int size) override {
    answers.push_back(windows_.SendInput(count, inputs, size));
    return answers.back();
  }

 private:
  SendInputPort windows_;
};

TEST(Win32DevicePortsTest, TheChordsFourEventsAreEachTakenBySendInput) {
  AnsweringInput input;
  PanelState state;
  send_win_chord(state, input, kKeyP);
  EXPECT_EQ(input.answers, (std::vector<UINT>{1, 1, 1, 1}));
}

}  // namespace
