#include "win32/device_io_control_lcd_port.h"

#include "win32/wide_cast.h"

HANDLE DeviceIoControlLcdPort::CreateFileW(const char16_t* path, DWORD access, DWORD share_mode,
                                           DWORD creation, DWORD flags_and_attributes) {
  return ::CreateFileW(as_wchar(path), access, share_mode, nullptr, creation, flags_and_attributes, nullptr);
}

BOOL DeviceIoControlLcdPort::DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer,
                                             DWORD in_size, void* out_buffer, DWORD out_size,
                                             DWORD* bytes_returned) {
  return ::DeviceIoControl(device, control_code, in_buffer, in_size, out_buffer, out_size, bytes_returned,
                           nullptr);
}

BOOL DeviceIoControlLcdPort::CloseHandle(HANDLE handle) {
  return ::CloseHandle(handle);
}
