// A display that reports levels and a current brightness, and remembers what was set.
#pragma once

#include <cstring>
#include <vector>

#include "ports/lcd_port.h"

class FakeLcdPort : public LcdPort {
 public:
  std::vector<uint8_t> levels{12, 25, 37, 50, 62, 75, 87, 96};
  uint8_t current = 50;
  int failing_call = 0;  // 1 open, 2 levels, 3 current, 4 set
  std::vector<video_brightness::DISPLAY_BRIGHTNESS> sets;
  std::vector<DWORD> codes;
  int open_handles = 0;
  DWORD last_access = 0, last_share = 0, last_creation = 0;
  std::u16string last_path;

  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share, DWORD creation, DWORD) override {
    last_path = path;
    last_access = access;
    last_share = share;
    last_creation = creation;
    if (failing_call == 1) {
      return INVALID_HANDLE_VALUE;
    }
    ++open_handles;
    return this;
  }
  BOOL DeviceIoControl(HANDLE, DWORD code, void* in, DWORD in_size, void* out, DWORD out_size,
                       DWORD* returned) override {
    using namespace video_brightness;
    codes.push_back(code);
    switch (code) {
      case IOCTL_VIDEO_QUERY_SUPPORTED_BRIGHTNESS:
        if (failing_call == 2 || in != nullptr || in_size != 0 || out_size != 256) {
          return FALSE;
        }
        std::memcpy(out, levels.data(), levels.size());
        *returned = static_cast<DWORD>(levels.size());
        return TRUE;
      case IOCTL_VIDEO_QUERY_DISPLAY_BRIGHTNESS:
        if (failing_call == 3 || out_size != 3) {
          return FALSE;
        }
        static_cast<DISPLAY_BRIGHTNESS*>(out)[0] = {DISPLAYPOLICY_BOTH, 99, current};
        *returned = 3;
        return TRUE;
      case IOCTL_VIDEO_SET_DISPLAY_BRIGHTNESS:
        if (failing_call == 4 || in_size != 3 || out != nullptr || out_size != 0) {
          return FALSE;
        }
        sets.push_back(*static_cast<const DISPLAY_BRIGHTNESS*>(in));
        current = sets.back().ucDCBrightness;
        return TRUE;
    }
    return FALSE;
  }
  BOOL CloseHandle(HANDLE) override {
    --open_handles;
    return TRUE;
  }
};
