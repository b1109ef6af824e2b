// The built-in display's brightness through the video port's "\\.\LCD" device.
#pragma once

#include "common/win_types.h"

namespace video_brightness {

constexpr DWORD IOCTL_VIDEO_QUERY_SUPPORTED_BRIGHTNESS = 0x00230494;
constexpr DWORD IOCTL_VIDEO_QUERY_DISPLAY_BRIGHTNESS = 0x00230498;
constexpr DWORD IOCTL_VIDEO_SET_DISPLAY_BRIGHTNESS = 0x0023049C;

constexpr UCHAR DISPLAYPOLICY_AC = 1;
constexpr UCHAR DISPLAYPOLICY_DC = 2;
constexpr UCHAR DISPLAYPOLICY_BOTH = 3;

struct DISPLAY_BRIGHTNESS {
  UCHAR ucDisplayPolicy;
  UCHAR ucACBrightness;
  UCHAR ucDCBrightness;
};
static_assert(sizeof(DISPLAY_BRIGHTNESS) == 3);

}  // namespace video_brightness

class LcdPort {
 public:
  virtual ~LcdPort() = default;
  virtual HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                             DWORD flags_and_attributes) = 0;
  virtual BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                               void* out_buffer, DWORD out_size, DWORD* bytes_returned) = 0;
  virtual BOOL CloseHandle(HANDLE handle) = 0;
};
