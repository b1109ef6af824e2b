#include "linux/backlight_levels.h"

uint8_t percent_for_raw(uint32_t raw, uint32_t max) {
  if (max == 0) {
    return 0;
  }
  const uint64_t clamped = raw < max ? raw : max;
  return static_cast<uint8_t>(clamped * 100u / max);
}

uint32_t raw_for_percent(uint8_t percent, uint32_t max) {
  const uint64_t wanted = percent < 100 ? percent : 100;
  const uint64_t raw = (wanted * max + 99u) / 100u;
  return raw == 0 ? (max > 0 ? 1u : 0u) : static_cast<uint32_t>(raw);
}

std::vector<uint8_t> backlight_levels(uint32_t max) {
  std::vector<uint8_t> levels;
  if (max == 0) {
    return levels;
  }
  // Walk the percentages rather than the raw steps: max may be in the hundreds of thousands.
  for (unsigned percent = 0; percent <= 100; ++percent) {
    const uint32_t raw = raw_for_percent(static_cast<uint8_t>(percent), max);
    if (percent_for_raw(raw, max) == percent) {
      levels.push_back(static_cast<uint8_t>(percent));
    }
  }
  return levels;
}
