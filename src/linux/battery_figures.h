// One sysfs battery as a Windows battery class driver would report it: tag, BATTERY_INFORMATION,
// the two texts and BATTERY_STATUS, with the class's markers where Linux gives no value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/win_types.h"
#include "linux/uevent_text.h"

struct BatteryFigures {
  ULONG tag = battery_class::BATTERY_TAG_INVALID;  // invalid while no pack sits in the slot
  battery_class::BATTERY_INFORMATION information{};
  battery_class::BATTERY_STATUS status{};
  std::string manufacturer;  // printable ASCII; empty when the battery names none
  std::string unique_id;     // model and serial, printable ASCII
  std::string model;
};

// `alarm` is the battery's `alarm` attribute file (µWh, or µAh for charge batteries), read apart from
// the uevent, which never holds it.
BatteryFigures battery_figures(const UeventFields& fields, std::optional<int64_t> alarm, bool ac_on_line);

// Only the bytes 0x20 to 0x7E, without blanks at either end: some firmware leaves garbage there.
std::string printable_ascii(std::string_view text);
