// The battery's charge as a percentage of its full-charged capacity, as the panel and the logs show it.
#pragma once

#include <cstdint>

#include "battery/battery_snapshot.h"

// The percentage and the estimate must round once, to double, on every build; extended precision
// (the x87 unit) rounds twice and can change the last bit, and with it a two-decimal text.
#if (defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ != 0) || (defined(_M_IX86_FP) && _M_IX86_FP < 2)
#error "doubles must be computed in double precision: build 32-bit x86 with SSE2 floating point"
#endif

// Without a full-charged capacity there is no percentage: the texts show this marker instead of
// the "inf" or "nan" a division by zero would print.
constexpr const char16_t* kUnknownLifePercent = u"N/A";

inline bool life_percent_known(const BatterySnapshot& snapshot) {
  return snapshot.full_charged_capacity != 0;
}

// Remaining × 100 ÷ full-charged, both read as unsigned, in double precision. Not clamped.
inline double life_percent(const BatterySnapshot& snapshot) {
  return static_cast<double>(snapshot.remaining_capacity) * 100.0 /
         static_cast<double>(snapshot.full_charged_capacity);
}
