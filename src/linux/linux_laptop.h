// The real Linux laptop: every port the panel and the board identity query use, answered from the
// kernel and the system services, and what the title line and the status strip say about it.
#pragma once

#include <memory>
#include <string>

#include "identity/wmi_port.h"
#include "linux/power_broadcast_source.h"
#include "linux/sysfs_battery_port.h"
#include "linux/sysfs_files.h"
#include "linux/unavailable_ports.h"

struct LinuxLaptopPaths {
  std::string power_supply_root = kPowerSupplyRoot;
  std::string dmi_root = "/sys/class/dmi/id";
};

// The laptop as the status strip shows it, from the battery query's last reading.
struct LinuxLaptopDescription {
  std::u16string battery_name;  // BAT0
  std::u16string model;
  std::u16string manufacturer;
  bool ac_online = false;
  std::u16string unavailable;  // what this laptop does not do yet
  std::u16string events;       // empty, or why power broadcasts are missing
};

class LinuxLaptop {
 public:
  explicit LinuxLaptop(LinuxLaptopPaths paths = {});
  LinuxLaptop(PowerClocks& clocks, LinuxLaptopPaths paths);
  ~LinuxLaptop();
  LinuxLaptop(const LinuxLaptop&) = delete;
  LinuxLaptop& operator=(const LinuxLaptop&) = delete;

  BatteryPort& battery() { return battery_; }
  PowerPort& power() { return power_; }
  LcdPort& lcd() { return lcd_; }
  WlanPort& wlan() { return wlan_; }
  InputPort& input() { return input_; }
  WmiPort& wmi() { return *wmi_; }
  PowerBroadcastSource& broadcasts() { return *broadcasts_; }

  // DefWindowProc's part for what the panel leaves to it (display power, volume): refused, nothing done.
  LRESULT default_processing(UINT message, WPARAM wparam, LPARAM lparam);

  // "Chargewright on BAT0 (model, manufacturer)": which laptop runs, for the title line.
  std::u16string title() const;
  LinuxLaptopDescription describe() const;

  long files_opened() const { return files_.files_opened(); }

 private:
  uint32_t power_state_fingerprint();

  LinuxLaptopPaths paths_;
  SystemPowerClocks system_clocks_;
  PosixSysfsFiles files_;
  PosixSysfsFiles probe_files_;  // the late-status watch, counted apart from the battery query
  SysfsBatteryPort battery_;
  UnavailablePowerPort power_;
  UnavailableLcdPort lcd_;
  UnavailableWlanPort wlan_;
  UnavailableInputPort input_;
  std::unique_ptr<WmiPort> wmi_;
  std::unique_ptr<PowerBroadcastSource> broadcasts_;
};

// Whether the machine under `root` has a system battery, so the real laptop is the one to run.
bool machine_has_battery(const std::string& power_supply_root = kPowerSupplyRoot);
