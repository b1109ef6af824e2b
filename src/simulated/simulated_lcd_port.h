// The simulated laptop's built-in display behind "\\.\LCD": its own list of brightness levels, in
// the ascending order some panels report them, and the level it shows.
#pragma once

#include <array>

#include "ports/lcd_port.h"

constexpr std::array<UCHAR, 8> kSimulatedLcdLevels = {12, 25, 37, 50, 62, 75, 87, 96};
constexpr UCHAR kSimulatedLcdStartLevel = 62;

class SimulatedLcdPort final : public LcdPort {
 public:
  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                     DWORD flags_and_attributes) override;
  BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size, void* out_buffer,
                       DWORD out_size, DWORD* bytes_returned) override;
  BOOL CloseHandle(HANDLE handle) override;

  UCHAR level() const { return level_; }
  int open_handles() const { return open_handles_; }

 private:
  HANDLE device_token() { return &device_marker_; }

  UCHAR level_ = kSimulatedLcdStartLevel;
  int open_handles_ = 0;
  char device_marker_ = 0;
};
