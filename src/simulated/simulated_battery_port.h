// The battery class driver of the simulated laptop: one battery behind SetupAPI and device I/O,
// answering as Windows does, including its refusals.
#pragma once

#include "ports/battery_port.h"
#include "simulated/battery_model.h"

// The one battery interface's device path, as an ACPI control-method battery reports it.
constexpr const char16_t* kSimulatedBatteryPath =
    u"\\\\?\\acpi#pnp0c0a#1#{72631e54-78a4-11d0-bcf7-00aa00b7b32a}";
constexpr uint32_t kSimulatedBatteryTag = 0x1C;
constexpr const char16_t* kSimulatedManufacturer = u"Chargewright Cells";
constexpr const char16_t* kSimulatedUniqueId = u"SIM55WH0417";

class SimulatedBatteryPort final : public BatteryPort {
 public:
  explicit SimulatedBatteryPort(BatteryModel& model) : model_(model) {}

  HDEVINFO SetupDiGetClassDevsW(const GUID* class_guid, const char16_t* enumerator, HWND parent,
                                DWORD flags) override;
  BOOL SetupDiEnumDeviceInterfaces(HDEVINFO set, void* device_info, const GUID* interface_guid,
                                   DWORD member_index, SP_DEVICE_INTERFACE_DATA* interface_data) override;
  BOOL SetupDiGetDeviceInterfaceDetailW(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* interface_data,
                                        SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail,
                                        DWORD detail_size) override;
  BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) override;
  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                     DWORD attributes) override;
  BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size, void* out_buffer,
                       DWORD out_size, DWORD* bytes_returned) override;
  BOOL CloseHandle(HANDLE handle) override;

  // What is still held: a caller that releases everything leaves both at 0.
  int open_device_sets() const { return open_sets_; }
  bool device_open() const { return device_open_; }

 private:
  BOOL query_information(void* in_buffer, DWORD in_size, void* out_buffer, DWORD out_size,
                         DWORD* bytes_returned);
  BOOL query_status(void* in_buffer, DWORD in_size, void* out_buffer, DWORD out_size, DWORD* bytes_returned);

  HDEVINFO set_token() { return &set_marker_; }
  HANDLE device_token() { return &device_marker_; }

  BatteryModel& model_;
  int open_sets_ = 0;
  bool device_open_ = false;
  char set_marker_ = 0;
  char device_marker_ = 0;
};
