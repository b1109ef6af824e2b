#include "linux/power_supplies.h"

#include "linux/power_supply_reader.h"

bool PowerSupply::is_battery() const {
  return fields.text("type") == "Battery" && fields.text("scope") != "Device";
}

bool PowerSupply::is_line_power() const {
  const std::string_view type = fields.text("type").value_or("");
  return type == "Mains" || type.substr(0, 3) == "USB";
}

bool PowerSupply::online() const {
  return fields.integer("online").value_or(0) > 0;
}

std::vector<PowerSupply> read_power_supplies(SysfsFiles& files, const std::string& root) {
  return PowerSupplyReader(files, root).read();
}

bool line_power_online(const std::vector<PowerSupply>& supplies) {
  bool any_line_power = false;
  for (const PowerSupply& supply : supplies) {
    if (supply.is_line_power()) {
      any_line_power = true;
      if (supply.online()) {
        return true;
      }
    }
  }
  if (any_line_power) {
    return false;
  }
  // No adapter described at all: a battery that charges or holds its charge is on line power.
  for (const PowerSupply& supply : supplies) {
    if (supply.is_battery()) {
      const std::string_view status = supply.fields.text("status").value_or("");
      if (status == "Charging" || status == "Full" || status == "Not charging") {
        return true;
      }
    }
  }
  return false;
}

bool has_system_battery(SysfsFiles& files, const std::string& root) {
  for (const PowerSupply& supply : read_power_supplies(files, root)) {
    if (supply.is_battery()) {
      return true;
    }
  }
  return false;
}
