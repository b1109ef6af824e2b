#include "linux/linux_laptop.h"

#include "linux/dmi_board.h"

namespace {

std::u16string widen(const std::string& text) {
  std::u16string wide;
  for (char c : text) {
    wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  return wide;
}

// The battery the query reports: the last one listed, as discovery keeps the last path.
const PowerSupply* reported_battery(const std::vector<PowerSupply>& supplies) {
  const PowerSupply* last = nullptr;
  for (const PowerSupply& supply : supplies) {
    if (supply.is_battery()) {
      last = &supply;
    }
  }
  return last;
}

}  // namespace

LinuxLaptop::LinuxLaptop(LinuxLaptopPaths paths) : LinuxLaptop(system_clocks_, std::move(paths)) {}

LinuxLaptop::LinuxLaptop(PowerClocks& clocks, LinuxLaptopPaths paths)
    : paths_(std::move(paths)),
      battery_(files_, paths_.power_supply_root),
      wmi_(dmi_wmi_port(files_, paths_.dmi_root)),
      broadcasts_(
          std::make_unique<PowerBroadcastSource>(clocks, [this] { return power_state_fingerprint(); })) {}

LinuxLaptop::~LinuxLaptop() = default;

uint32_t LinuxLaptop::power_state_fingerprint() {
  const std::vector<PowerSupply> supplies = read_power_supplies(probe_files_, paths_.power_supply_root);
  uint32_t hash = line_power_online(supplies) ? 1u : 0u;
  for (const PowerSupply& supply : supplies) {
    if (supply.is_battery()) {
      for (char c : supply.name + "=" + std::string(supply.fields.text("status").value_or("")) + ";") {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
      }
    }
  }
  return hash;
}

LRESULT LinuxLaptop::default_processing(UINT, WPARAM, LPARAM) {
  return 0;
}

LinuxLaptopDescription LinuxLaptop::describe() const {
  LinuxLaptopDescription description;
  description.ac_online = battery_.ac_on_line();
  if (const PowerSupply* battery = reported_battery(battery_.supplies())) {
    description.battery_name = widen(battery->name);
    description.model = widen(printable_ascii(battery->fields.text("model_name").value_or("")));
    description.manufacturer = widen(printable_ascii(battery->fields.text("manufacturer").value_or("")));
  }
  description.unavailable =
      std::u16string(u"sleep, hibernate, shutdown, brightness, radio, display, volume and chords: ") +
      kNotAvailableYet;
  description.events = widen(broadcasts_->problem());
  return description;
}

std::u16string LinuxLaptop::title() const {
  const LinuxLaptopDescription description = describe();
  std::u16string title = u"Chargewright on ";
  title += description.battery_name.empty() ? u"this laptop" : description.battery_name;
  std::u16string details = description.model;
  if (!description.manufacturer.empty()) {
    details += (details.empty() ? u"" : u", ") + description.manufacturer;
  }
  if (!details.empty()) {
    title += u" (" + details + u")";
  }
  return title;
}

bool machine_has_battery(const std::string& power_supply_root) {
  PosixSysfsFiles files;
  return has_system_battery(files, power_supply_root);
}
