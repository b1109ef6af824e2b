#include "simulated/simulated_battery_port.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../shared/fake_clock.h"
#include "battery/battery_query.h"

using namespace battery_class;

namespace {

class SimulatedBatteryPortTest : public ::testing::Test {
 protected:
  HANDLE open() {
    return port.CreateFileW(kSimulatedBatteryPath, FILE_ALL_ACCESS, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  }
  BOOL information(HANDLE device, ULONG tag, BATTERY_QUERY_INFORMATION_LEVEL level, void* out, DWORD out_size,
                   DWORD* returned) {
    BATTERY_QUERY_INFORMATION request{tag, level, 1};
    return port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_INFORMATION, &request, sizeof(request), out,
                                out_size, returned);
  }

  FakeClock clock;
  BatteryModel model{clock, 0.8};
  SimulatedBatteryPort port{model};
};

TEST_F(SimulatedBatteryPortTest, DiscoveryOffersOneInterfaceWithItsPath) {
  HDEVINFO set = port.SetupDiGetClassDevsW(&GUID_DEVICE_BATTERY, nullptr, nullptr,
                                           DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  ASSERT_NE(set, INVALID_HANDLE_VALUE);
  EXPECT_EQ(port.open_device_sets(), 1);

  SP_DEVICE_INTERFACE_DATA data{};
  data.cbSize = 27;
  EXPECT_FALSE(port.SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVICE_BATTERY, 0, &data));
  data.cbSize = 28;
  ASSERT_TRUE(port.SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVICE_BATTERY, 0, &data));
  EXPECT_FALSE(port.SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVICE_BATTERY, 1, &data));

  alignas(4) unsigned char buffer[1024] = {};
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer);
  detail->cbSize = 8;  // the 64-bit size is wrong for this 32-bit layout
  EXPECT_FALSE(port.SetupDiGetDeviceInterfaceDetailW(set, &data, detail, sizeof(buffer)));
  detail->cbSize = 6;
  EXPECT_FALSE(port.SetupDiGetDeviceInterfaceDetailW(set, &data, detail, 40));  // the path does not fit
  ASSERT_TRUE(port.SetupDiGetDeviceInterfaceDetailW(set, &data, detail, sizeof(buffer)));
  char16_t path[128] = {};
  std::memcpy(path, buffer + 4, sizeof(path) - sizeof(char16_t));
  EXPECT_EQ(std::u16string(path), std::u16string(kSimulatedBatteryPath));

  EXPECT_TRUE(port.SetupDiDestroyDeviceInfoList(set));
  EXPECT_EQ(port.open_device_sets(), 0);
  EXPECT_FALSE(port.SetupDiDestroyDeviceInfoList(set));
}

TEST_F(SimulatedBatteryPortTest, OtherDeviceClassesHaveNoSet) {
  const GUID other = {0x4D36E968, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
  EXPECT_EQ(port.SetupDiGetClassDevsW(&other, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE),
            INVALID_HANDLE_VALUE);
}

TEST_F(SimulatedBatteryPortTest, DeviceOpensExclusively) {
  EXPECT_EQ(port.CreateFileW(u"\\\\?\\acpi#pnp0c0a#2#{x}", FILE_ALL_ACCESS, 0, OPEN_EXISTING, 0),
            INVALID_HANDLE_VALUE);
  HANDLE device = open();
  ASSERT_NE(device, INVALID_HANDLE_VALUE);
  EXPECT_EQ(open(), INVALID_HANDLE_VALUE);
  EXPECT_TRUE(port.CloseHandle(device));
  EXPECT_FALSE(port.CloseHandle(device));
  HANDLE again = port.CreateFileW(u"\\\\?\\ACPI#PNP0C0A#1#{72631E54-78A4-11D0-BCF7-00AA00B7B32A}",
                                  FILE_ALL_ACCESS, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  EXPECT_NE(again, INVALID_HANDLE_VALUE);  // device paths ignore case
  port.CloseHandle(again);
}

TEST_F(SimulatedBatteryPortTest, RequestsCheckSizesAndTag) {
  HANDLE device = open();
  ULONG wait = 0, tag = 0;
  DWORD returned = 0;
  EXPECT_FALSE(port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_TAG, &wait, 2, &tag, sizeof(tag), &returned));
  ASSERT_TRUE(port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_TAG, &wait, 4, &tag, sizeof(tag), &returned));
  EXPECT_NE(tag, BATTERY_TAG_INVALID);
  EXPECT_EQ(returned, 4u);

  BATTERY_INFORMATION info{};
  EXPECT_FALSE(information(device, tag + 1, BatteryInformation, &info, sizeof(info), &returned));
  EXPECT_FALSE(information(device, tag, BatteryInformation, &info, sizeof(info) - 1, &returned));
  ASSERT_TRUE(information(device, tag, BatteryInformation, &info, sizeof(info), &returned));
  EXPECT_EQ(returned, 36u);
  EXPECT_EQ(std::memcmp(info.Chemistry, "LION", 4), 0);
  EXPECT_EQ(info.DesignedCapacity, 57000u);
  EXPECT_LT(info.FullChargedCapacity, info.DesignedCapacity);
  EXPECT_LT(info.DefaultAlert1, info.DefaultAlert2);
  EXPECT_LT(info.DefaultAlert2, info.FullChargedCapacity / 10);

  BATTERY_QUERY_INFORMATION short_request{tag, BatteryInformation, 1};
  EXPECT_FALSE(port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_INFORMATION, &short_request, 8, &info,
                                    sizeof(info), &returned));

  BATTERY_WAIT_STATUS wait_status{tag, 500, 0, 0, 0};
  BATTERY_STATUS status{};
  EXPECT_FALSE(port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_STATUS, &wait_status, 16, &status,
                                    sizeof(status), &returned));
  EXPECT_FALSE(
      port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_STATUS, &wait_status, 20, &status, 12, &returned));
  wait_status.BatteryTag = tag + 1;
  EXPECT_FALSE(
      port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_STATUS, &wait_status, 20, &status, 16, &returned));
  wait_status.BatteryTag = tag;
  ASSERT_TRUE(
      port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_STATUS, &wait_status, 20, &status, 16, &returned));
  EXPECT_EQ(returned, 16u);
  EXPECT_EQ(status.PowerState, BATTERY_DISCHARGING);
  EXPECT_LT(status.Rate, 0);
  port.CloseHandle(device);
  // A closed handle answers nothing.
  EXPECT_FALSE(port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_TAG, &wait, 4, &tag, sizeof(tag), &returned));
}

TEST_F(SimulatedBatteryPortTest, TextsAreRefusedRatherThanCut) {
  HANDLE device = open();
  ULONG wait = 0, tag = 0;
  DWORD returned = 0;
  port.DeviceIoControl(device, IOCTL_BATTERY_QUERY_TAG, &wait, 4, &tag, sizeof(tag), &returned);

  const size_t id_bytes = (std::u16string(kSimulatedUniqueId).size() + 1) * 2;
  char16_t text[40];
  std::fill(std::begin(text), std::end(text), u'#');
  EXPECT_FALSE(information(device, tag, BatteryUniqueID, text, static_cast<DWORD>(id_bytes - 2), &returned));
  EXPECT_EQ(text[0], u'#');  // nothing written on refusal
  ASSERT_TRUE(information(device, tag, BatteryUniqueID, text, static_cast<DWORD>(id_bytes), &returned));
  EXPECT_EQ(std::u16string(text), std::u16string(kSimulatedUniqueId));
  EXPECT_EQ(returned, id_bytes);
  EXPECT_EQ(text[id_bytes / 2], u'#');  // nothing past the answer

  ASSERT_TRUE(information(device, tag, BatteryManufactureName, text, sizeof(text), &returned));
  EXPECT_EQ(std::u16string(text), std::u16string(kSimulatedManufacturer));
  EXPECT_FALSE(information(device, tag, BatteryTemperature, text, sizeof(text), &returned));
  port.CloseHandle(device);
}

TEST_F(SimulatedBatteryPortTest, BatteryQueryReadsItAndReleasesEverything) {
  BatterySnapshot snapshot{};
  EXPECT_EQ(query_battery(snapshot, port), 1);
  EXPECT_EQ(std::u16string(snapshot.chemistry), u"LION");
  EXPECT_EQ(std::u16string(snapshot.unique_id), std::u16string(kSimulatedUniqueId));
  EXPECT_EQ(std::u16string(snapshot.device_path), std::u16string(kSimulatedBatteryPath));
  EXPECT_EQ(snapshot.designed_capacity, kDesignedCapacityMwh);
  EXPECT_NE(snapshot.discharging, 0);
  EXPECT_EQ(snapshot.ac_on_line, 0);
  EXPECT_EQ(port.open_device_sets(), 0);
  EXPECT_FALSE(port.device_open());

  const uint32_t before = snapshot.remaining_capacity;
  clock.advance_seconds(60);
  EXPECT_EQ(query_battery(snapshot, port), 1);
  EXPECT_LT(snapshot.remaining_capacity, before);
}

}  // namespace
