// What one battery query learns about the battery.
#pragma once

#include <cstdint>

// The interface-detail buffer is 1024 bytes; after its 4-byte size field it holds at most 510
// UTF-16 units, so a path of any length the system can report fits whole.
constexpr int kDevicePathSize = 510;

struct BatterySnapshot {
  char16_t device_path[kDevicePathSize];
  char16_t chemistry[32];
  uint32_t designed_capacity;
  uint32_t full_charged_capacity;
  uint32_t remaining_capacity;
  uint32_t default_alert1;
  uint32_t default_alert2;
  char16_t manufacturer_name[64];
  char16_t unique_id[64];
  uint32_t critical_bias;
  uint32_t cycle_count;
  uint32_t power_state;
  uint8_t charging;
  uint8_t critical;
  uint8_t discharging;
  uint8_t ac_on_line;
  uint32_t voltage;
  int32_t rate;
};

// The current snapshot, and the second one the power actions read the AC flag from.
struct BatteryReadings {
  BatterySnapshot battery = {};
  BatterySnapshot second_battery = {};
};
