#include "linux/power_supply_reader.h"

#include <algorithm>

namespace {

// A uevent is at most a page of sysfs; the limit only stops a file that is not one.
constexpr size_t kUeventLimit = 64 * 1024;
constexpr size_t kAttributeLimit = 256;

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::optional<PowerSupply> PowerSupplyReader::read_open(const OpenSupply& open) const {
  const std::optional<std::string> uevent = open.uevent->read_from_start(kUeventLimit);
  if (!uevent) {
    return std::nullopt;
  }
  PowerSupply supply{open.name, parse_power_supply_uevent(*uevent), open.alarm};
  if (open.type_file && !supply.fields.text("type")) {
    supply.fields.add("type", *open.type_file);
  }
  return supply;
}

void PowerSupplyReader::read_static(const std::string& directory, OpenSupply& open, PowerSupply& supply) {
  // Kernels before 5.8 leave the type out of the uevent: only then is a second file read.
  if (!supply.fields.text("type")) {
    if (const auto type = files_.read(directory + "/type", kAttributeLimit)) {
      open.type_file = std::string(trimmed(*type));
      supply.fields.add("type", *open.type_file);
    }
  }
  // The alarm is a file of its own, never in the uevent.
  if (supply.is_battery()) {
    if (const auto alarm = files_.read(directory + "/alarm", kAttributeLimit)) {
      open.alarm = parse_decimal(trimmed(*alarm));
      supply.alarm = open.alarm;
    }
  }
}

std::vector<PowerSupply> PowerSupplyReader::list() {
  const std::vector<OpenSupply> before = std::move(open_);
  open_.clear();
  std::vector<PowerSupply> supplies;
  for (const std::string& name : files_.list(root_)) {
    const std::string directory = root_ + "/" + name;
    OpenSupply open{name, files_.open(directory + "/uevent"), std::nullopt, std::nullopt};
    if (open.uevent == nullptr) {
      continue;
    }
    const auto known =
        std::find_if(before.begin(), before.end(), [&](const OpenSupply& seen) { return seen.name == name; });
    if (static_read_ && known != before.end()) {
      open.type_file = known->type_file;
      open.alarm = known->alarm;
    }
    std::optional<PowerSupply> supply = read_open(open);
    if (!supply) {
      continue;
    }
    if (!static_read_ || known == before.end()) {
      read_static(directory, open, *supply);
    }
    open_.push_back(std::move(open));
    supplies.push_back(std::move(*supply));
  }
  listed_ = true;
  static_read_ = true;
  return supplies;
}

std::vector<PowerSupply> PowerSupplyReader::read() {
  if (!told_of_changes_ || !listed_) {
    return list();
  }
  std::vector<PowerSupply> supplies;
  for (const OpenSupply& open : open_) {
    std::optional<PowerSupply> supply = read_open(open);
    if (!supply) {
      return list();  // its supply went away before the event that says so
    }
    supplies.push_back(std::move(*supply));
  }
  return supplies;
}
