// libFuzzer target: whatever a driver wrote into a uevent file, parsed and turned into battery figures.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "linux/battery_figures.h"
#include "linux/uevent_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const UeventFields fields = parse_power_supply_uevent(text);
  if (fields.size() > kMaxUeventFields) {
    __builtin_trap();
  }
  const std::optional<int64_t> alarms[] = {std::nullopt, -1, 2850000, std::numeric_limits<int64_t>::max()};
  for (bool ac : {false, true}) {
    const BatteryFigures figures = battery_figures(fields, alarms[size % 4], ac);
    for (char c : figures.unique_id + figures.manufacturer) {
      if (c < 0x20 || c > 0x7E) {
        __builtin_trap();  // only printable ASCII may reach the panel
      }
    }
  }
  return 0;
}
