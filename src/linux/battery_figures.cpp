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

// a × b, both non-negative; nothing when it does not fit.
std::optional<int64_t> checked_product(int64_t a, int64_t b) {
  if (a < 0 || b < 0 || (b != 0 && a > std::numeric_limits<int64_t>::max() / b)) {
    return std::nullopt;
  }
  return a * b;
}

std::optional<int64_t> product_milli(std::optional<int64_t> a, std::optional<int64_t> b) {
  if (!a || !b || *b <= 0) {
    return std::nullopt;
  }
  const auto product = checked_product(*a, *b);
  return product ? std::optional<int64_t>(*product / kMicroSquaredPerMilli) : std::nullopt;
}

// The units a battery counts in: energy (µWh), or charge (µAh) turned into energy at the design
// voltage (ACPI gives it as voltage_min_design).
class CapacityUnits {
 public:
  explicit CapacityUnits(const UeventFields& fields) : fields_(fields) {
    for (const char* prefix : {"energy_", "charge_"}) {
      for (const char* which : {"full", "now", "full_design"}) {
        if (prefix_.empty() && fields.text(std::string(prefix) + which)) {
          prefix_ = prefix;
        }
      }
    }
    for (const char* name : {"voltage_min_design", "voltage_max_design", "voltage_now"}) {
      if (!design_voltage_) {
        design_voltage_ = positive(fields.integer(name));
      }
    }
  }

  bool convertible() const { return prefix_ == "energy_" || (prefix_ == "charge_" && design_voltage_); }
  // `which` is full_design, full or now.
  bool reports(std::string_view which) const { return fields_.text(name(which)).has_value(); }
  std::optional<int64_t> raw(std::string_view which) const { return fields_.integer(name(which)); }

  // A reading in mWh. Linux marks an invalid reading with a negative value, whatever its units: its
  // sign is tested before anything is divided.
  std::optional<int64_t> milli(std::optional<int64_t> micro) const {
    if (!micro || *micro < 0 || !convertible()) {
      return std::nullopt;
    }
    return prefix_ == "energy_" ? std::optional<int64_t>(*micro / kMicroPerMilli)
                                : product_milli(micro, design_voltage_);
  }

 private:
  std::string name(std::string_view which) const { return prefix_ + std::string(which); }

  const UeventFields& fields_;
  std::string prefix_;
  std::optional<int64_t> design_voltage_;
};

struct Capacities {
  ULONG designed = BATTERY_UNKNOWN_CAPACITY;
  ULONG full = BATTERY_UNKNOWN_CAPACITY;
  ULONG remaining = BATTERY_UNKNOWN_CAPACITY;
  ULONG alert1 = 0;
  bool relative = false;
};

ULONG capacity_or_unknown(std::optional<int64_t> milli) {
  return as_unsigned(milli).value_or(BATTERY_UNKNOWN_CAPACITY);
}

// `percent` % of `whole`, to the nearest unit.
std::optional<int64_t> percent_of(int64_t whole, int64_t percent) {
  const auto product = checked_product(whole, percent);
  return product ? std::optional<int64_t>((*product + 50) / 100) : std::nullopt;
}

// Every capacity from one source, so that the percentage the panel works out equals the battery's
// own `capacity`. A battery that gives no reading of what it holds now has it from that percentage
// of full (as upower does); one whose full charge cannot be had in mWh is a relative battery, as a
// Windows driver reports one: capacities in percent of a full pack.
Capacities capacities(const UeventFields& fields, std::optional<int64_t> alarm) {
  const CapacityUnits units(fields);
  const std::optional<int64_t> percent = as_unsigned(fields.integer("capacity"));
  Capacities found;
  const auto full = units.milli(units.raw("full"));
  if (units.convertible()) {
    found.designed = capacity_or_unknown(units.milli(units.raw("full_design")));
    found.full = capacity_or_unknown(full);
    found.alert1 = as_unsigned(units.milli(alarm)).value_or(0);
    if (units.reports("now")) {
      found.remaining = capacity_or_unknown(units.milli(units.raw("now")));
      return found;
    }
    if (percent && found.full != BATTERY_UNKNOWN_CAPACITY) {
      found.remaining = capacity_or_unknown(percent_of(*full, *percent));
      return found;
    }
  }
  if (!percent) {
    return found;
  }
  Capacities relative{100, 100, static_cast<ULONG>(*percent), 0, true};
  // The alarm counts in the battery's own units: as a share of its full charge.
  const auto raw_full = positive(units.raw("full"));
  const auto alarm_hundredths = alarm ? checked_product(*alarm, 100) : std::nullopt;
  if (raw_full && alarm_hundredths) {
    relative.alert1 = as_unsigned(*alarm_hundredths / *raw_full).value_or(0);
  }
  return relative;
}

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

BatteryFigures battery_figures(const UeventFields& fields, std::optional<int64_t> alarm, bool ac_on_line) {
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

  const Capacities found = capacities(fields, alarm);
  BATTERY_INFORMATION& information = figures.information;
  information.Capabilities = BATTERY_SYSTEM_BATTERY | (found.relative ? BATTERY_CAPACITY_RELATIVE : 0);
  information.Technology = kRechargeable;
  set_chemistry(information, fields.text("technology").value_or(""));
  information.DesignedCapacity = found.designed;
  information.FullChargedCapacity = found.full;
  information.DefaultAlert1 = found.alert1;
  information.CycleCount = as_unsigned(fields.integer("cycle_count")).value_or(0);

  // A gauge that counts past its own full mark is reported as it reads: above 100 %.
  BATTERY_STATUS& battery = figures.status;
  battery.Capacity = found.remaining;
  const std::string_view status = fields.text("status").value_or("Unknown");
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
