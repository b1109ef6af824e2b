// The battery class driver reached through SetupAPI and device I/O control.
#pragma once

#include "ports/battery_port.h"

class SetupApiBatteryPort final : public BatteryPort {
 public:
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
};
