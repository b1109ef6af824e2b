#include "win32/setupapi_battery_port.h"

#include "win32/wide_cast.h"

HDEVINFO SetupApiBatteryPort::SetupDiGetClassDevsW(const GUID* class_guid, const char16_t* enumerator,
                                                   HWND parent, DWORD flags) {
  return ::SetupDiGetClassDevsW(class_guid, as_wchar(enumerator), parent, flags);
}

BOOL SetupApiBatteryPort::SetupDiEnumDeviceInterfaces(HDEVINFO set, void* device_info,
                                                      const GUID* interface_guid, DWORD member_index,
                                                      SP_DEVICE_INTERFACE_DATA* interface_data) {
  return ::SetupDiEnumDeviceInterfaces(set, static_cast<SP_DEVINFO_DATA*>(device_info), interface_guid,
                                       member_index, interface_data);
}

BOOL SetupApiBatteryPort::SetupDiGetDeviceInterfaceDetailW(HDEVINFO set,
                                                           SP_DEVICE_INTERFACE_DATA* interface_data,
                                                           SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail,
                                                           DWORD detail_size) {
  return ::SetupDiGetDeviceInterfaceDetailW(set, interface_data, detail, detail_size, nullptr, nullptr);
}

BOOL SetupApiBatteryPort::SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  return ::SetupDiDestroyDeviceInfoList(set);
}

HANDLE SetupApiBatteryPort::CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                                        DWORD attributes) {
  return ::CreateFileW(as_wchar(path), access, share_mode, nullptr, creation, attributes, nullptr);
}

BOOL SetupApiBatteryPort::DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                                          void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  return ::DeviceIoControl(device, control_code, in_buffer, in_size, out_buffer, out_size, bytes_returned,
                           nullptr);
}

BOOL SetupApiBatteryPort::CloseHandle(HANDLE handle) {
  return ::CloseHandle(handle);
}
