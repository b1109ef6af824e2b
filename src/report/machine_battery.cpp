#include "report/machine_battery.h"

#include <cstdio>

#include "battery/battery_query.h"
#include "report/text_encoding.h"
#include "text/wide_text.h"

namespace {

constexpr char16_t kNotAvailable[] = u"N/A";
// All ones is the class's unknown capacity; like the logs, anything from 2^31 up reads as unknown.
constexpr uint32_t kFirstUnknownCapacity = 0x80000000u;

template <size_t N>
std::string known_text(const char16_t (&text)[N]) {
  if (wide_equal(text, kNotAvailable)) {
    return "";
  }
  return shown_text(utf8_of_utf16(std::u16string_view(text, wide_length(text, N))));
}

std::optional<int32_t> known_capacity(uint32_t capacity) {
  if (capacity == 0 || capacity >= kFirstUnknownCapacity) {
    return std::nullopt;
  }
  return static_cast<int32_t>(capacity);
}

std::string line(const char* label, const std::string& value) {
  char text[512];
  std::snprintf(text, sizeof text, "  %-34s %s\n", label, value.empty() ? "n/a" : value.c_str());
  return text;
}

std::string number_or_empty(std::optional<int64_t> value) {
  return value.has_value() ? std::to_string(*value) : "";
}

}  // namespace

MachineBattery read_machine_battery(BatteryPort& port) {
  BatterySnapshot snapshot = {};
  MachineBattery battery;
  if (query_battery(snapshot, port) != 1) {
    return battery;
  }
  battery.found = true;
  battery.manufacturer = known_text(snapshot.manufacturer_name);
  battery.unique_id = known_text(snapshot.unique_id);
  battery.chemistry = known_text(snapshot.chemistry);
  battery.designed_mwh = known_capacity(snapshot.designed_capacity);
  battery.full_mwh = known_capacity(snapshot.full_charged_capacity);
  // The class driver reports 0 where the battery counts no cycles.
  if (snapshot.cycle_count != 0) {
    battery.cycle_count = snapshot.cycle_count;
  }
  return battery;
}

std::string machine_battery_text(const MachineBattery& battery) {
  if (!battery.found) {
    return "The machine this report ran on: no battery the report could read\n\n";
  }
  std::string full = number_or_empty(battery.full_mwh);
  if (battery.full_mwh.has_value() && battery.designed_mwh.has_value()) {
    char share[64];
    std::snprintf(share, sizeof share, " (%.1f %% of design)",
                  *battery.full_mwh * 100.0 / *battery.designed_mwh);
    full += share;
  }
  return "The battery of the machine this report ran on (not necessarily the one that wrote the logs)\n" +
         line("Manufacturer", battery.manufacturer) +
         line("Unique ID (model and serial)", battery.unique_id) + line("Chemistry", battery.chemistry) +
         line("Design capacity (mWh)", number_or_empty(battery.designed_mwh)) +
         line("Full-charged capacity (mWh)", full) +
         line("Cycle count", number_or_empty(battery.cycle_count)) + "\n";
}
