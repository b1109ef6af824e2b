// The battery of the machine the report runs on, read through the same battery query as the panel:
// the logs may come from other machines, so this stands beside them as a reference, never in them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ports/battery_port.h"

struct MachineBattery {
  bool found = false;
  std::string manufacturer, unique_id, chemistry;  // "" where the driver names none
  std::optional<int32_t> designed_mwh, full_mwh;
  std::optional<uint32_t> cycle_count;
};

MachineBattery read_machine_battery(BatteryPort& port);

// Its block in the console's summary.
std::string machine_battery_text(const MachineBattery& battery);
