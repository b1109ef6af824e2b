#include "simulated/simulated_lcd_port.h"

#include <cstring>
#include <string_view>

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
      if (out_buffer == nullptr || out_size < kSimulatedLcdLevels.size()) {
        return FALSE;  // ERROR_INSUFFICIENT_BUFFER
      }
      std::memcpy(out_buffer, kSimulatedLcdLevels.data(), kSimulatedLcdLevels.size());
      *bytes_returned = static_cast<DWORD>(kSimulatedLcdLevels.size());
      return TRUE;
    case IOCTL_VIDEO_QUERY_DISPLAY_BRIGHTNESS: {
      if (out_buffer == nullptr || out_size < sizeof(DISPLAY_BRIGHTNESS)) {
        return FALSE;
      }
      const DISPLAY_BRIGHTNESS answer{DISPLAYPOLICY_BOTH, level_, level_};
      std::memcpy(out_buffer, &answer, sizeof answer);
      *bytes_returned = sizeof answer;
      return TRUE;
    }
    case IOCTL_VIDEO_SET_DISPLAY_BRIGHTNESS: {
      if (in_buffer == nullptr || in_size < sizeof(DISPLAY_BRIGHTNESS)) {
        return FALSE;
      }
      DISPLAY_BRIGHTNESS request{};
      std::memcpy(&request, in_buffer, sizeof request);
      // One panel, one level: the value for the power source the request names.
      const UCHAR wanted =
          request.ucDisplayPolicy == DISPLAYPOLICY_AC ? request.ucACBrightness : request.ucDCBrightness;
      if (request.ucDisplayPolicy < DISPLAYPOLICY_AC || request.ucDisplayPolicy > DISPLAYPOLICY_BOTH ||
          wanted > 100) {
        return FALSE;
      }
      level_ = wanted;
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
