#include "devices/brightness.h"

#include <optional>

#include "common/scoped_owner.h"

using namespace video_brightness;

namespace {

constexpr char16_t kLcdPath[] = u"\\\\.\\LCD";

// The next level up from `current`, whatever the list's order; none when no level is higher.
std::optional<uint8_t> lowest_level_above(const BrightnessLevels& levels, uint8_t current) {
  std::optional<uint8_t> above;
  for (size_t i = 0; i < levels.count; ++i) {
    if (levels.level[i] > current && (!above || levels.level[i] < *above)) {
      above = levels.level[i];
    }
  }
  return above;
}

}  // namespace

BrightnessLevels normalise_levels(const uint8_t* reported, size_t count) {
  BrightnessLevels levels = {};
  levels.count = count < kMaxReportedLevels ? count : kMaxReportedLevels;
  for (size_t i = 0; i < levels.count; ++i) {
    levels.level[i] = reported[i];
  }
  if (levels.count >= 2 && levels.level[0] < levels.level[1]) {
    for (size_t i = 0; i < levels.count; ++i) {
      for (size_t j = i; j < levels.count; ++j) {
        if (levels.level[i] < levels.level[j]) {
          const uint8_t higher = levels.level[j];
          levels.level[j] = levels.level[i];
          levels.level[i] = higher;
        }
      }
    }
  }
  if (levels.count == 0 || levels.level[0] != 100) {
    for (size_t i = levels.count; i > 0; --i) {
      levels.level[i] = levels.level[i - 1];
    }
    levels.level[0] = 100;
    ++levels.count;
  }
  return levels;
}

uint8_t pick_level(const BrightnessLevels& levels, uint8_t current, bool brighter) {
  size_t found = levels.count;  // none
  for (size_t i = 0; i + 1 < levels.count; ++i) {
    if (levels.level[i] >= current && levels.level[i + 1] < current) {
      found = i;
      break;
    }
  }
  if (found == levels.count) {
    // Every level is at or above `current` (or it is above 100): "Bright" must still leave the
    // bottom, or a display turned all the way down could not be brought back from the panel.
    if (brighter) {
      if (const std::optional<uint8_t> above = lowest_level_above(levels, current)) {
        return *above;
      }
    }
    return levels.level[levels.count - 1];
  }
  if (brighter) {
    return found > 0 ? levels.level[found - 1] : levels.level[0];
  }
  return levels.level[found + 1];
}

int step_brightness(LcdPort& lcd, bool brighter) {
  auto device = scoped_owner<HANDLE>(
      lcd.CreateFileW(kLcdPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0),
      INVALID_HANDLE_VALUE, [&lcd](HANDLE handle) { lcd.CloseHandle(handle); });
  if (!device.holds()) {
    return 1;
  }
  uint8_t reported[kMaxReportedLevels] = {};
  DWORD returned = 0;
  if (!lcd.DeviceIoControl(device.get(), IOCTL_VIDEO_QUERY_SUPPORTED_BRIGHTNESS, nullptr, 0, reported,
                           sizeof reported, &returned)) {
    return 2;
  }
  const BrightnessLevels levels =
      normalise_levels(reported, returned < sizeof reported ? returned : sizeof reported);

  DISPLAY_BRIGHTNESS brightness = {};
  if (!lcd.DeviceIoControl(device.get(), IOCTL_VIDEO_QUERY_DISPLAY_BRIGHTNESS, nullptr, 0, &brightness,
                           sizeof brightness, &returned)) {
    return 3;
  }
  const uint8_t next = pick_level(levels, brightness.ucDCBrightness, brighter);

  DISPLAY_BRIGHTNESS wanted = {DISPLAYPOLICY_DC, next, next};
  if (!lcd.DeviceIoControl(device.get(), IOCTL_VIDEO_SET_DISPLAY_BRIGHTNESS, &wanted, sizeof wanted, nullptr,
                           0, &returned)) {
    return 4;
  }
  return 0;
}
