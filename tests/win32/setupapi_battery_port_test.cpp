// The Windows battery port against the real SetupAPI and kernel, run under Wine (no battery class
// driver there) or on Windows. Cases that need a machine without a battery skip where one exists.
#include <gtest/gtest.h>

#include <cstring>

#include "battery/battery_query.h"
#include "text/wide_text.h"
#include "win32/setupapi_battery_port.h"

namespace {

using battery_class::GUID_DEVICE_BATTERY;

constexpr DWORD kPresentInterfaces = DIGCF_PRESENT | DIGCF_DEVICEINTERFACE;

// Interfaces of the battery class that this machine reports.
int battery_interface_count(SetupApiBatteryPort& port) {
  HDEVINFO set = port.SetupDiGetClassDevsW(&GUID_DEVICE_BATTERY, nullptr, nullptr, kPresentInterfaces);
  if (set == INVALID_HANDLE_VALUE) {
    return -1;
  }
  int count = 0;
  SP_DEVICE_INTERFACE_DATA data = {};
  data.cbSize = sizeof(data);
  while (port.SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVICE_BATTERY, static_cast<DWORD>(count),
                                          &data)) {
    ++count;
  }
  port.SetupDiDestroyDeviceInfoList(set);
  return count;
}

TEST(SetupApiBatteryPort, EnumeratesTheBatteryClassToItsEnd) {
  SetupApiBatteryPort port;
  HDEVINFO set = port.SetupDiGetClassDevsW(&GUID_DEVICE_BATTERY, nullptr, nullptr, kPresentInterfaces);
  ASSERT_NE(set, INVALID_HANDLE_VALUE);

  DWORD index = 0;
  SP_DEVICE_INTERFACE_DATA data = {};
  data.cbSize = sizeof(data);
#ifndef _WIN64
  EXPECT_EQ(data.cbSize, 28u);
#endif
  for (; port.SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVICE_BATTERY, index, &data); ++index) {
    alignas(4) unsigned char buffer[1024] = {};
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer);
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);  // 6 in the 32-bit layout, 8 in the 64-bit
    ASSERT_TRUE(port.SetupDiGetDeviceInterfaceDetailW(set, &data, detail, sizeof(buffer)));
    EXPECT_EQ(std::memcmp(detail->DevicePath, L"\\\\?\\", 8), 0) << "a device path starts with \\\\?\\";
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS)) << "after " << index << " interfaces";
  EXPECT_TRUE(port.SetupDiDestroyDeviceInfoList(set));
}

TEST(SetupApiBatteryPort, OpensIssuesControlRequestsAndClosesARealHandle) {
  SetupApiBatteryPort port;
  wchar_t own_path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, own_path, MAX_PATH), 0u);

  HANDLE file = port.CreateFileW(reinterpret_cast<const char16_t*>(own_path), GENERIC_READ, FILE_SHARE_READ,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  // A program file is no battery: the tag request must come back as a failure, not as a tag.
  ULONG wait = 0, tag = 0x5A5A5A5A;
  DWORD returned = 0;
  EXPECT_FALSE(port.DeviceIoControl(file, battery_class::IOCTL_BATTERY_QUERY_TAG, &wait, sizeof(wait), &tag,
                                    sizeof(tag), &returned));
  EXPECT_EQ(returned, 0u);
  EXPECT_TRUE(port.CloseHandle(file));

  // The path of a machine where no battery was ever found.
  EXPECT_EQ(port.CreateFileW(u"", FILE_ALL_ACCESS, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL),
            INVALID_HANDLE_VALUE);
}

TEST(SetupApiBatteryPort, QueryWithoutBatteryLeavesZerosAndNotAvailableTexts) {
  SetupApiBatteryPort port;
  if (battery_interface_count(port) != 0) {
    GTEST_SKIP() << "this machine has a battery";
  }
  BatterySnapshot snapshot = {};
  EXPECT_EQ(find_battery_path(snapshot, port), 1);
  EXPECT_EQ(snapshot.device_path[0], u'\0');

  EXPECT_EQ(query_battery(snapshot, port), -1);
  EXPECT_TRUE(wide_equal(snapshot.manufacturer_name, u"N/A"));
  EXPECT_TRUE(wide_equal(snapshot.unique_id, u"N/A"));
  EXPECT_TRUE(wide_equal(snapshot.chemistry, u""));
  EXPECT_EQ(snapshot.designed_capacity, 0u);
  EXPECT_EQ(snapshot.full_charged_capacity, 0u);
  EXPECT_EQ(snapshot.remaining_capacity, 0u);
  EXPECT_EQ(snapshot.voltage, 0u);
  EXPECT_EQ(snapshot.rate, 0);
  EXPECT_EQ(snapshot.power_state, 0u);
}

TEST(SetupApiBatteryPort, BatteryThatIsGoneKeepsItsPathAndLastValues) {
  SetupApiBatteryPort port;
  if (battery_interface_count(port) != 0) {
    GTEST_SKIP() << "this machine has a battery";
  }
  BatterySnapshot snapshot = {};
  copy_wide(snapshot.device_path, u"\\\\?\\acpi#pnp0c0a#1#{72631e54-78a4-11d0-bcf7-00aa00b7b32a}");
  snapshot.remaining_capacity = 30000;
  snapshot.ac_on_line = 1;

  EXPECT_EQ(query_battery(snapshot, port), -1);
  EXPECT_TRUE(
      wide_equal(snapshot.device_path, u"\\\\?\\acpi#pnp0c0a#1#{72631e54-78a4-11d0-bcf7-00aa00b7b32a}"));
  EXPECT_EQ(snapshot.remaining_capacity, 30000u);
  EXPECT_EQ(snapshot.ac_on_line, 1);
  EXPECT_TRUE(wide_equal(snapshot.unique_id, u"N/A"));
}

}  // namespace
