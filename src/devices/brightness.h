// "Dark" and "Bright": one step through the levels the display reports.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ports/lcd_port.h"

constexpr size_t kMaxReportedLevels = 256;

// Room for every level the display can report and the 100 put in front of them.
struct BrightnessLevels {
  uint8_t level[kMaxReportedLevels + 1];
  size_t count;
};

// Descending when the first two levels ascend; then 100 in front unless the list starts with it.
BrightnessLevels normalise_levels(const uint8_t* reported, size_t count);
// The level to set from `current`: the neighbour below it ("Dark") or above it ("Bright"); at or
// below the lowest level "Dark" stays there and "Bright" takes the next level up.
uint8_t pick_level(const BrightnessLevels& levels, uint8_t current, bool brighter);
// 0 when the new level was set; 1 to 4 for the device call that failed.
int step_brightness(LcdPort& lcd, bool brighter);
