// Percent levels of a backlight with `max` raw steps: one mapping for the level list, the set and
// the read, so a level set and read back is the same level.
#pragma once

#include <cstdint>
#include <vector>

// Every distinct percentage the raw steps 1..max reach, ascending; 0 % stands for the dimmest
// non-zero step on fine-grained devices, so no level turns the backlight off.
std::vector<uint8_t> backlight_levels(uint32_t max);
// The raw value of the lowest step at or above `percent` (never 0).
uint32_t raw_for_percent(uint8_t percent, uint32_t max);
// The level a raw value shows as.
uint8_t percent_for_raw(uint32_t raw, uint32_t max);
