#include "simulated/simulated_lcd_port.h"

#include <string_view>

#include "posix/brightness_answers.h"

using namespace video_brightness;

HANDLE SimulatedLcdPort::CreateFileW(const char16_t* path, DWORD access, DWORD, DWORD creation, DWORD) {
  if (path == nullptr || std::u16string_view(path) != u"\\\\.\\LCD" || creation != OPEN_EXISTING ||
      (access & ~(GENERIC_READ | GENERIC_WRITE)) != 0) {
    return INVALID_HANDLE_VALUE;
  }
  ++open_handles_;
  return device_token();
}

BOOL SimulatedLcdPort::DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                                       void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  if (device != device_token() || open_handles_ == 0 || bytes_returned == nullptr) {
    return FALSE;
  }
  *bytes_returned = 0;
  switch (control_code) {
    case IOCTL_VIDEO_QUERY_SUPPORTED_BRIGHTNESS:
      return answer_supported_levels(kSimulatedLcdLevels.data(), kSimulatedLcdLevels.size(), out_buffer,
                                     out_size, bytes_returned);
    case IOCTL_VIDEO_QUERY_DISPLAY_BRIGHTNESS:
      return answer_display_brightness(level_, out_buffer, out_size, bytes_returned);
    case IOCTL_VIDEO_SET_DISPLAY_BRIGHTNESS: {
      const std::optional<UCHAR> wanted = requested_brightness(in_buffer, in_size);
      if (!wanted) {
        return FALSE;
      }
      level_ = *wanted;
      return TRUE;
    }
    default:
      return FALSE;  // ERROR_INVALID_FUNCTION
  }
}

BOOL SimulatedLcdPort::CloseHandle(HANDLE handle) {
  if (handle != device_token() || open_handles_ == 0) {
    return FALSE;
  }
  --open_handles_;
  return TRUE;
}
