#include "linux/battery_figures.h"

#include <cstring>
#include <limits>
#include <optional>

using namespace battery_class;

namespace {

constexpr ULONG BATTERY_SYSTEM_BATTERY = 0x80000000;
constexpr ULONG BATTERY_CAPACITY_RELATIVE = 0x40000000;
constexpr UCHAR kRechargeable = 1;
constexpr int64_t kMicroPerMilli = 1000;
constexpr int64_t kMicroSquaredPerMilli = 1000000000;  // µAh × µV = 10^-9 mWh

// Positive values that fit the class's unsigned fields, below its all-ones marker.
std::optional<ULONG> as_unsigned(std::optional<int64_t> value) {
  if (!value || *value < 0 || *value >= static_cast<int64_t>(BATTERY_UNKNOWN_CAPACITY)) {
    return std::nullopt;
  }
  return static_cast<ULONG>(*value);
}

std::optional<int64_t> positive(std::optional<int64_t> value) {
  return value && *value > 0 ? value : std::nullopt;
}

std::optional<int64_t> product_milli(std::optional<int64_t> a, std::optional<int64_t> b) {
  if (!a || !b || *a < 0 || *b <= 0 || *a > std::numeric_limits<int64_t>::max() / *b) {
    return std::nullopt;
  }
  return *a * *b / kMicroSquaredPerMilli;
}

// Capacities of a battery, in mWh, from energy (µWh) or from charge (µAh) at the design voltage.
class CapacityUnits {
 public:
  explicit CapacityUnits(const UeventFields& fields) : fields_(fields) {
    energy_ = fields.text("energy_full") || fields.text("energy_now") || fields.text("energy_full_design");
    charge_ = !energy_ &&
              (fields.text("charge_full") || fields.text("charge_now") || fields.text("charge_full_design"));
    // The design voltage turns charge into energy; ACPI gives it as voltage_min_design.
    for (const char* name : {"voltage_min_design", "voltage_max_design", "voltage_now"}) {
      if (!design_voltage_) {
        design_voltage_ = positive(fields.integer(name));
      }
    }
    relative_ = !energy_ && !(charge_ && design_voltage_) && fields.integer("capacity").has_value();
  }

  bool relative() const { return relative_; }

  // `which` is full_design, full, now or the alarm level.
  ULONG capacity(std::string_view which) const {
    std::optional<int64_t> milli;
    if (energy_) {
      const auto value = fields_.integer(name("energy_", which));
      milli = value ? std::optional<int64_t>(*value / kMicroPerMilli) : std::nullopt;
    } else if (charge_) {
      milli = product_milli(fields_.integer(name("charge_", which)), design_voltage_);
    }
    return as_unsigned(milli).value_or(BATTERY_UNKNOWN_CAPACITY);
  }

 private:
  static std::string name(std::string_view prefix, std::string_view which) {
    if (which == "alarm") {
      return "alarm";
    }
    return std::string(prefix) + std::string(which);
  }

  const UeventFields& fields_;
  bool energy_ = false;
  bool charge_ = false;
  bool relative_ = false;
  std::optional<int64_t> design_voltage_;
};

void set_chemistry(BATTERY_INFORMATION& information, std::string_view technology) {
  const char* text = "";
  if (technology == "Li-ion") {
    text = "LION";
  } else if (technology == "Li-poly") {
    text = "LiP";
  } else if (technology == "NiMH") {
    text = "NiMH";
  } else if (technology == "NiCd") {
    text = "NiCd";
  } else if (technology == "LiFe" || technology == "LiMn") {
    text = technology == "LiFe" ? "LiFe" : "LiMn";  // already four letters
  }
  std::memset(information.Chemistry, 0, sizeof information.Chemistry);
  std::memcpy(information.Chemistry, text, std::strlen(text));
}

// The rate's magnitude in mW: power_now, else current × voltage; negative fuel gauges are common.
std::optional<int64_t> rate_magnitude(const UeventFields& fields) {
  const auto power = fields.integer("power_now");
  if (power && *power != 0) {
    return (*power < 0 ? -*power : *power) / kMicroPerMilli;
  }
  const auto current = fields.integer("current_now");
  const auto voltage = positive(fields.integer("voltage_now"));
  if (current && *current != 0 && voltage) {
    return product_milli(*current < 0 ? -*current : *current, voltage);
  }
  if ((power && *power == 0) || (current && *current == 0)) {
    return 0;  // a reading of zero: only believed while the battery is not draining
  }
  return std::nullopt;
}

LONG signed_rate(const UeventFields& fields, std::string_view status) {
  const auto magnitude = rate_magnitude(fields);
  const bool discharging = status == "Discharging";
  if (!magnitude || (discharging && *magnitude == 0) || *magnitude > std::numeric_limits<LONG>::max()) {
    return BATTERY_UNKNOWN_RATE;
  }
  const LONG rate = static_cast<LONG>(*magnitude);
  return discharging ? -rate : rate;
}

ULONG tag_of(const UeventFields& fields) {
  // FNV-1a over what names the pack: another pack in the slot gives another tag.
  uint32_t hash = 2166136261u;
  for (const char* name : {"manufacturer", "model_name", "serial_number", "technology", "energy_full_design",
                           "charge_full_design"}) {
    for (char c : fields.text(name).value_or("")) {
      hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    hash = (hash ^ 0xFFu) * 16777619u;
  }
  return hash == BATTERY_TAG_INVALID ? 1 : hash;
}

}  // namespace

std::string printable_ascii(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (c >= 0x20 && c <= 0x7E) {
      kept.push_back(c);
    }
  }
  const size_t first = kept.find_first_not_of(' ');
  if (first == std::string::npos) {
    return {};
  }
  return kept.substr(first, kept.find_last_not_of(' ') - first + 1);
}

BatteryFigures battery_figures(const UeventFields& fields, bool ac_on_line) {
  BatteryFigures figures;
  figures.manufacturer = printable_ascii(fields.text("manufacturer").value_or(""));
  figures.model = printable_ascii(fields.text("model_name").value_or(""));
  const std::string serial = printable_ascii(fields.text("serial_number").value_or(""));
  figures.unique_id = figures.model;
  if (!figures.model.empty() && !serial.empty()) {
    figures.unique_id += ' ';
  }
  figures.unique_id += serial;

  // A missing `present` means present; 0 is an empty slot, which has no valid tag.
  if (fields.integer("present").value_or(1) == 0) {
    return figures;
  }
  figures.tag = tag_of(fields);

  const CapacityUnits units(fields);
  BATTERY_INFORMATION& information = figures.information;
  information.Capabilities = BATTERY_SYSTEM_BATTERY | (units.relative() ? BATTERY_CAPACITY_RELATIVE : 0);
  information.Technology = kRechargeable;
  set_chemistry(information, fields.text("technology").value_or(""));
  const std::string_view status = fields.text("status").value_or("Unknown");
  BATTERY_STATUS& battery = figures.status;
  if (units.relative()) {
    // Windows' relative batteries: capacities in percent of a full pack.
    information.DesignedCapacity = 100;
    information.FullChargedCapacity = 100;
    battery.Capacity = as_unsigned(fields.integer("capacity")).value_or(BATTERY_UNKNOWN_CAPACITY);
  } else {
    information.DesignedCapacity = units.capacity("full_design");
    information.FullChargedCapacity = units.capacity("full");
    battery.Capacity = units.capacity("now");
    const ULONG alarm = units.capacity("alarm");
    information.DefaultAlert1 = alarm == BATTERY_UNKNOWN_CAPACITY ? 0 : alarm;
  }
  // Gauges that count past their own full mark would show more than 100 %.
  if (battery.Capacity != BATTERY_UNKNOWN_CAPACITY &&
      information.FullChargedCapacity != BATTERY_UNKNOWN_CAPACITY &&
      battery.Capacity > information.FullChargedCapacity) {
    battery.Capacity = information.FullChargedCapacity;
  }
  information.CycleCount = as_unsigned(fields.integer("cycle_count")).value_or(0);

  battery.PowerState = (ac_on_line ? BATTERY_POWER_ON_LINE : 0) |
                       (status == "Charging" ? BATTERY_CHARGING : 0) |
                       (status == "Discharging" ? BATTERY_DISCHARGING : 0) |
                       (fields.text("capacity_level") == "Critical" ? BATTERY_CRITICAL : 0);
  const auto voltage = positive(fields.integer("voltage_now"));
  battery.Voltage = voltage ? as_unsigned(*voltage / kMicroPerMilli).value_or(BATTERY_UNKNOWN_VOLTAGE)
                            : BATTERY_UNKNOWN_VOLTAGE;
  battery.Rate = signed_rate(fields, status);
  return figures;
}
