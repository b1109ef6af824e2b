#include "simulated/simulated_battery_port.h"

#include <cstring>

#include "common/guid.h"
#include "text/wide_text.h"

namespace {

using namespace battery_class;

// Windows device paths compare without regard to case.
bool same_path(const char16_t* a, const char16_t* b) {
  return wide_equal_ignoring_case(a, b);
}

// A text answer, terminator included, or a refusal when it does not fit: the driver never cuts it.
BOOL answer_text(const char16_t* text, void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  const size_t bytes = (wide_length(text, 256) + 1) * sizeof(char16_t);
  if (out_buffer == nullptr || out_size < bytes) {
    return FALSE;
  }
  std::memcpy(out_buffer, text, bytes);
  if (bytes_returned != nullptr) {
    *bytes_returned = static_cast<DWORD>(bytes);
  }
  return TRUE;
}

}  // namespace

HDEVINFO SimulatedBatteryPort::SetupDiGetClassDevsW(const GUID* class_guid, const char16_t* /*enumerator*/,
                                                    HWND /*parent*/, DWORD flags) {
  if (!same_guid(class_guid, GUID_DEVICE_BATTERY) || (flags & DIGCF_DEVICEINTERFACE) == 0) {
    return INVALID_HANDLE_VALUE;
  }
  ++open_sets_;
  return set_token();
}

BOOL SimulatedBatteryPort::SetupDiEnumDeviceInterfaces(HDEVINFO set, void* /*device_info*/,
                                                       const GUID* interface_guid, DWORD member_index,
                                                       SP_DEVICE_INTERFACE_DATA* interface_data) {
  if (set != set_token() || open_sets_ == 0 || interface_data == nullptr ||
      interface_data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA) ||
      !same_guid(interface_guid, GUID_DEVICE_BATTERY) || member_index != 0) {
    return FALSE;
  }
  interface_data->InterfaceClassGuid = GUID_DEVICE_BATTERY;
  interface_data->Flags = 1;  // SPINT_ACTIVE
  interface_data->Reserved = 1;
  return TRUE;
}

BOOL SimulatedBatteryPort::SetupDiGetDeviceInterfaceDetailW(HDEVINFO set,
                                                            SP_DEVICE_INTERFACE_DATA* interface_data,
                                                            SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail,
                                                            DWORD detail_size) {
  // The 32-bit SetupAPI wants cbSize 6: the size field and one character, packed.
  constexpr DWORD kDetailHeaderSize = 6;
  if (set != set_token() || open_sets_ == 0 || interface_data == nullptr || interface_data->Reserved != 1 ||
      detail == nullptr || detail->cbSize != kDetailHeaderSize) {
    return FALSE;
  }
  const size_t path_bytes = (wide_length(kSimulatedBatteryPath, 256) + 1) * sizeof(char16_t);
  if (detail_size < offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) + path_bytes) {
    return FALSE;
  }
  std::memcpy(
      reinterpret_cast<unsigned char*>(detail) + offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath),
      kSimulatedBatteryPath, path_bytes);
  return TRUE;
}

BOOL SimulatedBatteryPort::SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  if (set != set_token() || open_sets_ == 0) {
    return FALSE;
  }
  --open_sets_;
  return TRUE;
}

HANDLE SimulatedBatteryPort::CreateFileW(const char16_t* path, DWORD /*access*/, DWORD /*share_mode*/,
                                         DWORD creation, DWORD /*attributes*/) {
  // The driver allows one open at a time whatever the share mode asks, as the query opens it exclusively.
  if (path == nullptr || !same_path(path, kSimulatedBatteryPath) || creation != OPEN_EXISTING ||
      device_open_) {
    return INVALID_HANDLE_VALUE;
  }
  device_open_ = true;
  return device_token();
}

BOOL SimulatedBatteryPort::CloseHandle(HANDLE handle) {
  if (handle != device_token() || !device_open_) {
    return FALSE;
  }
  device_open_ = false;
  return TRUE;
}

BOOL SimulatedBatteryPort::DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                                           void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  if (bytes_returned != nullptr) {
    *bytes_returned = 0;
  }
  if (device != device_token() || !device_open_ || in_buffer == nullptr) {
    return FALSE;
  }
  switch (control_code) {
    case IOCTL_BATTERY_QUERY_TAG:
      if (in_size != sizeof(ULONG) || out_buffer == nullptr || out_size < sizeof(ULONG)) {
        return FALSE;
      }
      std::memcpy(out_buffer, &kSimulatedBatteryTag, sizeof(ULONG));
      if (bytes_returned != nullptr) {
        *bytes_returned = sizeof(ULONG);
      }
      return TRUE;
    case IOCTL_BATTERY_QUERY_INFORMATION:
      return query_information(in_buffer, in_size, out_buffer, out_size, bytes_returned);
    case IOCTL_BATTERY_QUERY_STATUS:
      return query_status(in_buffer, in_size, out_buffer, out_size, bytes_returned);
    default:
      return FALSE;
  }
}

BOOL SimulatedBatteryPort::query_information(void* in_buffer, DWORD in_size, void* out_buffer, DWORD out_size,
                                             DWORD* bytes_returned) {
  BATTERY_QUERY_INFORMATION request;
  if (in_size != sizeof(request)) {
    return FALSE;
  }
  std::memcpy(&request, in_buffer, sizeof(request));
  if (request.BatteryTag != kSimulatedBatteryTag) {
    return FALSE;
  }
  switch (request.InformationLevel) {
    case BatteryInformation: {
      if (out_buffer == nullptr || out_size < sizeof(BATTERY_INFORMATION)) {
        return FALSE;
      }
      BATTERY_INFORMATION information{};
      information.Capabilities = 0x80000000;  // BATTERY_SYSTEM_BATTERY
      information.Technology = 1;             // rechargeable
      std::memcpy(information.Chemistry, "LION", 4);
      information.DesignedCapacity = kDesignedCapacityMwh;
      information.FullChargedCapacity = kFullChargedCapacityMwh;
      information.DefaultAlert1 = kAlert1Mwh;
      information.DefaultAlert2 = kAlert2Mwh;
      information.CriticalBias = 0;
      information.CycleCount = kCycleCount;
      std::memcpy(out_buffer, &information, sizeof(information));
      if (bytes_returned != nullptr) {
        *bytes_returned = sizeof(information);
      }
      return TRUE;
    }
    case BatteryManufactureName:
      return answer_text(kSimulatedManufacturer, out_buffer, out_size, bytes_returned);
    case BatteryUniqueID:
      return answer_text(kSimulatedUniqueId, out_buffer, out_size, bytes_returned);
    default:
      return FALSE;  // levels this battery does not report
  }
}

BOOL SimulatedBatteryPort::query_status(void* in_buffer, DWORD in_size, void* out_buffer, DWORD out_size,
                                        DWORD* bytes_returned) {
  BATTERY_WAIT_STATUS wait;
  if (in_size != sizeof(wait) || out_buffer == nullptr || out_size < sizeof(BATTERY_STATUS)) {
    return FALSE;
  }
  std::memcpy(&wait, in_buffer, sizeof(wait));
  if (wait.BatteryTag != kSimulatedBatteryTag) {
    return FALSE;
  }
  // The driver would wait while the power state equals wait.PowerState and the capacity lies within
  // [LowCapacity, HighCapacity]; a battery never reports power state 0, so every request the
  // panel makes (all three zero) is answered at once.
  const BatteryReading reading = model_.read();
  const BATTERY_STATUS status{reading.power_state, reading.capacity_mwh, reading.voltage_mv, reading.rate_mw};
  std::memcpy(out_buffer, &status, sizeof(status));
  if (bytes_returned != nullptr) {
    *bytes_returned = sizeof(status);
  }
  return TRUE;
}
