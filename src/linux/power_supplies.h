// The machine's power supplies as one battery query sees them: each one read once, from its uevent file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "linux/sysfs_files.h"
#include "linux/uevent_text.h"

constexpr const char* kPowerSupplyRoot = "/sys/class/power_supply";

struct PowerSupply {
  std::string name;  // the directory's name: BAT0, AC, ucsi-source-psy-USBC000:001, ...
  UeventFields fields;
  std::optional<int64_t> alarm;  // a battery's `alarm` attribute file, read when the supply was listed

  bool is_battery() const;     // a system battery: type Battery and not scope Device (mice, pens, headsets)
  bool is_line_power() const;  // Mains or one of the USB types
  bool online() const;
};

// Every supply under `root` (a directory laid out as /sys/class/power_supply), in name order, listed
// and read afresh. A supply whose uevent cannot be read (removed meanwhile) is left out.
std::vector<PowerSupply> read_power_supplies(SysfsFiles& files, const std::string& root);

// AC on line: any Mains or USB supply online. Without any such supply, the batteries' status tells it.
bool line_power_online(const std::vector<PowerSupply>& supplies);

// Whether `root` holds a system battery: what decides between the real and the simulated laptop.
bool has_system_battery(SysfsFiles& files, const std::string& root = kPowerSupplyRoot);
