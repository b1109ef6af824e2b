// The battery class driver as the battery query reaches it: SetupAPI discovery and device I/O.
#pragma once

#include "common/win_types.h"

class BatteryPort {
 public:
  virtual ~BatteryPort() = default;
  virtual HDEVINFO SetupDiGetClassDevsW(const GUID* class_guid, const char16_t* enumerator, HWND parent,
                                        DWORD flags) = 0;
  virtual BOOL SetupDiEnumDeviceInterfaces(HDEVINFO set, void* device_info, const GUID* interface_guid,
                                           DWORD member_index, SP_DEVICE_INTERFACE_DATA* interface_data) = 0;
  // `detail` is the caller's buffer of `detail_size` bytes; no required-size or device-info output.
  virtual BOOL SetupDiGetDeviceInterfaceDetailW(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* interface_data,
                                                SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail,
                                                DWORD detail_size) = 0;
  virtual BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) = 0;
  virtual HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                             DWORD attributes) = 0;
  virtual BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                               void* out_buffer, DWORD out_size, DWORD* bytes_returned) = 0;
  virtual BOOL CloseHandle(HANDLE handle) = 0;
};
