// The one record of application state: each room's own record, and the tick's counters. Everything
// starts zero except the display power argument.
#pragma once

#include <cstdint>

#include "devices/shortcuts.h"
#include "identity/board_identity.h"
#include "logs/log_file.h"
#include "text/format.h"

struct PanelState : LogState, ShortcutState, BoardText {
  char16_t panel_text[kWideTextSize] = {};

  // The tick
  int32_t tick_counter = 0;
  int32_t minute_drain_sum = 0;
  uint32_t previous_remaining_capacity = 0;
  int32_t last_shown_drain = 0;
};

constexpr UINT_PTR kPanelTimerId = 1;
constexpr UINT kPanelTimerPeriodMs = 1000;
