#include "battery/battery_query.h"

#include <cstring>
#include <iterator>

#include "common/scoped_owner.h"
#include "text/wide_text.h"

using namespace battery_class;

namespace {

constexpr DWORD kDetailBufferSize = 1024;
// The record sizes SetupAPI checks: 6 and 28 in the 32-bit program.
constexpr DWORD kDetailDataSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
constexpr DWORD kInterfaceDataSize = sizeof(SP_DEVICE_INTERFACE_DATA);
#if !defined(_WIN64)
static_assert(kDetailDataSize == 6 && kInterfaceDataSize == 28);
#endif
constexpr ULONG kStatusTimeoutMs = 500;
constexpr DWORD kManufacturerNameBytes = 128;
constexpr DWORD kUniqueIdBytes = 64;
constexpr char16_t kNotAvailable[] = u"N/A";

// The detail buffer, aligned for the record it holds.
union DetailBuffer {
  SP_DEVICE_INTERFACE_DETAIL_DATA_W detail;
  unsigned char bytes[kDetailBufferSize];
};

void copy_device_path(BatterySnapshot& snapshot, const DetailBuffer& buffer) {
  // DevicePath starts after the 4-byte size; the zero-filled buffer ends any path the driver wrote.
  constexpr size_t path_offset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
  constexpr size_t path_units = (kDetailBufferSize - path_offset) / sizeof(char16_t);
  static_assert(path_units >= kDevicePathSize);
  size_t i = 0;
  for (; i + 1 < kDevicePathSize; ++i) {
    char16_t unit;
    std::memcpy(&unit, buffer.bytes + path_offset + i * sizeof(char16_t), sizeof unit);
    if (unit == 0) {
      break;
    }
    snapshot.device_path[i] = unit;
  }
  snapshot.device_path[i] = 0;
}

void copy_information(BatterySnapshot& snapshot, const BATTERY_INFORMATION& info) {
  size_t i = 0;
  for (; i < sizeof info.Chemistry && info.Chemistry[i] != 0; ++i) {
    snapshot.chemistry[i] = static_cast<char16_t>(info.Chemistry[i]);
  }
  snapshot.chemistry[i] = 0;
  snapshot.designed_capacity = info.DesignedCapacity;
  snapshot.full_charged_capacity = info.FullChargedCapacity;
  snapshot.default_alert1 = info.DefaultAlert1;
  snapshot.default_alert2 = info.DefaultAlert2;
  snapshot.critical_bias = info.CriticalBias;
  snapshot.cycle_count = info.CycleCount;
}

void copy_status(BatterySnapshot& snapshot, const BATTERY_STATUS& status) {
  snapshot.remaining_capacity = status.Capacity;
  snapshot.voltage = status.Voltage;
  snapshot.rate = status.Rate;
  snapshot.power_state = status.PowerState;
  snapshot.charging = static_cast<uint8_t>(status.PowerState & BATTERY_CHARGING);
  snapshot.critical = static_cast<uint8_t>(status.PowerState & BATTERY_CRITICAL);
  snapshot.discharging = static_cast<uint8_t>(status.PowerState & BATTERY_DISCHARGING);
  snapshot.ac_on_line = static_cast<uint8_t>(status.PowerState & BATTERY_POWER_ON_LINE);
}

}  // namespace

int find_battery_path(BatterySnapshot& snapshot, BatteryPort& port) {
  HDEVINFO set = port.SetupDiGetClassDevsW(&GUID_DEVICE_BATTERY, nullptr, nullptr,
                                           DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) {
    return -1;
  }
  DetailBuffer buffer = {};
  buffer.detail.cbSize = kDetailDataSize;
  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA interface_data = {};
    interface_data.cbSize = kInterfaceDataSize;
    if (!port.SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVICE_BATTERY, index, &interface_data)) {
      break;
    }
    if (!port.SetupDiGetDeviceInterfaceDetailW(set, &interface_data, &buffer.detail, kDetailBufferSize)) {
      break;
    }
    copy_device_path(snapshot, buffer);
  }
  port.SetupDiDestroyDeviceInfoList(set);
  return 1;
}

int query_battery(BatterySnapshot& snapshot, BatteryPort& port) {
  copy_wide(snapshot.manufacturer_name, kNotAvailable);
  copy_wide(snapshot.unique_id, kNotAvailable);
  find_battery_path(snapshot, port);

  auto device = scoped_owner<HANDLE>(
      port.CreateFileW(snapshot.device_path, FILE_ALL_ACCESS, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL),
      INVALID_HANDLE_VALUE, [&port](HANDLE handle) { port.CloseHandle(handle); });
  if (!device.holds()) {
    return -1;
  }

  DWORD returned = 0;
  ULONG wait_time = 0;
  ULONG tag = BATTERY_TAG_INVALID;
  if (!port.DeviceIoControl(device.get(), IOCTL_BATTERY_QUERY_TAG, &wait_time, sizeof wait_time, &tag,
                            sizeof tag, &returned) ||
      tag == BATTERY_TAG_INVALID) {
    return -2;
  }

  BATTERY_QUERY_INFORMATION request = {};
  request.BatteryTag = tag;
  request.InformationLevel = BatteryInformation;
  request.AtRate = 1;
  BATTERY_INFORMATION info = {};
  if (!port.DeviceIoControl(device.get(), IOCTL_BATTERY_QUERY_INFORMATION, &request, sizeof request, &info,
                            sizeof info, &returned)) {
    return -3;
  }

  // The driver writes straight into the fields; a failed request leaves "N/A" there.
  static_assert(sizeof snapshot.manufacturer_name == kManufacturerNameBytes);
  request.InformationLevel = BatteryManufactureName;
  port.DeviceIoControl(device.get(), IOCTL_BATTERY_QUERY_INFORMATION, &request, sizeof request,
                       snapshot.manufacturer_name, kManufacturerNameBytes, &returned);
  request.InformationLevel = BatteryUniqueID;
  port.DeviceIoControl(device.get(), IOCTL_BATTERY_QUERY_INFORMATION, &request, sizeof request,
                       snapshot.unique_id, kUniqueIdBytes, &returned);
  // A driver may fill the whole field without a terminator; keep the texts terminated.
  snapshot.manufacturer_name[std::size(snapshot.manufacturer_name) - 1] = 0;
  snapshot.unique_id[std::size(snapshot.unique_id) - 1] = 0;

  BATTERY_WAIT_STATUS wait = {};
  wait.BatteryTag = tag;
  wait.Timeout = kStatusTimeoutMs;
  BATTERY_STATUS status = {};
  const bool have_status = port.DeviceIoControl(device.get(), IOCTL_BATTERY_QUERY_STATUS, &wait, sizeof wait,
                                                &status, sizeof status, &returned) != FALSE;
  device.reset();

  copy_information(snapshot, info);
  // A failed status request delivers nothing: the last status read stands rather than zeros, which
  // would show an empty battery and count its whole charge as one tick's drain.
  if (have_status) {
    copy_status(snapshot, status);
  }
  return 1;
}
