// The built-in display's "\\.\LCD" device, straight through to Windows.
#pragma once

#include "ports/lcd_port.h"

class DeviceIoControlLcdPort final : public LcdPort {
 public:
  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                     DWORD flags_and_attributes) override;
  BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size, void* out_buffer,
                       DWORD out_size, DWORD* bytes_returned) override;
  BOOL CloseHandle(HANDLE handle) override;
};
