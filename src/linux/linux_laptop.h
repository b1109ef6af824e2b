// The real Linux laptop: every port the panel and the board identity query use, answered from the
// kernel and the system services, and what the title line and the status strip say about it.
#pragma once

#include <poll.h>

#include <memory>
#include <string>
#include <vector>

#include "linux/backlight_lcd_port.h"
#include "linux/device_watch.h"
#include "linux/linux_desktop.h"
#include "linux/logind_power_port.h"
#include "linux/power_broadcast_source.h"
#include "linux/rfkill_wlan_port.h"
#include "linux/sysfs_battery_port.h"
#include "linux/sysfs_files.h"
#include "linux/sysfs_sleep_facts_port.h"
#include "linux/unavailable_ports.h"
#include "ports/wmi_port.h"

struct LinuxLaptopPaths {
  std::string power_supply_root = kPowerSupplyRoot;
  std::string dmi_root = "/sys/class/dmi/id";
  std::string backlight_root = kBacklightRoot;
  std::string rtc_root = kRtcRoot;
  std::string power_root = "/sys/power";
  std::string interrupts = "/proc/interrupts";
  RfkillPaths rfkill;
  // Empty: the system bus (DBUS_SYSTEM_BUS_ADDRESS is honoured). A test names its private bus here.
  std::string system_bus_address;
  LogindTimeouts logind_timeouts;
};

// Stand-ins for what cannot be emulated here; null: the machine's own.
struct LinuxLaptopDevices {
  std::unique_ptr<Mixer> mixer;
  std::unique_ptr<DisplayPower> display;
};

// The laptop as the status strip shows it. Each device line says what the machine reports, or
// "unavailable: <reason>".
struct LinuxLaptopDescription {
  std::u16string battery_name;  // BAT0
  std::u16string model;
  std::u16string manufacturer;
  bool ac_online = false;
  std::u16string brightness;       // "brightness 50 % (intel_backlight)"
  std::u16string radio;            // "radio on (phy0)"
  std::u16string volume;           // "volume 40 %", "volume 40 % muted"
  std::u16string display;          // "display on", or unavailable with the reason
  std::u16string wake_alarm;       // "wake alarm 14:05:09", "no wake alarm", or why it cannot be armed
  std::u16string unavailable;      // what this laptop cannot do at all (the chords)
  std::u16string needs_privilege;  // what the user's rights do not reach, empty when nothing
  std::u16string power;            // why the last suspend or power-off did not happen, empty when none
  std::u16string events;           // empty, or why power broadcasts are missing
};

class LinuxLaptop {
 public:
  explicit LinuxLaptop(LinuxLaptopPaths paths = {}, LinuxLaptopDevices devices = {});
  LinuxLaptop(PowerClocks& clocks, LinuxLaptopPaths paths, LinuxLaptopDevices devices = {});
  ~LinuxLaptop();
  LinuxLaptop(const LinuxLaptop&) = delete;
  LinuxLaptop& operator=(const LinuxLaptop&) = delete;

  BatteryPort& battery() { return battery_; }
  LogindPowerPort& power() { return power_; }
  BacklightLcdPort& lcd() { return lcd_; }
  RfkillWlanPort& wlan() { return wlan_; }
  InputPort& input() { return input_; }
  WmiPort& wmi() { return *wmi_; }
  PowerBroadcastSource& broadcasts() { return *broadcasts_; }
  SleepFactsPort& sleep_facts() { return sleep_facts_; }
  // Whether the last battery query found a system battery.
  bool battery_found() const;

  // Why a sleep or hibernate that nobody attends could not run here: no wake alarm to end it, or
  // logind missing or unwilling to do it without asking; empty when it can run.
  std::string unattended_sleep_refusal(bool hibernate);

  // DefWindowProc's part for what the panel leaves to it: display power and volume.
  LRESULT default_processing(UINT message, WPARAM wparam, LPARAM lparam);
  // True once S5 was accepted by logind: the host shows it is going down.
  bool powering_off() const { return power_.report().powered_off; }

  // "Chargewright on BAT0 (model, manufacturer)": which laptop runs, for the title line.
  std::u16string title() const;
  // The devices as last read. Each is read again only when the kernel or its mixer said it changed,
  // the panel set it, or reread_devices() asked for it (and every time where no uevents come).
  LinuxLaptopDescription describe();
  // After a power broadcast: a resume or a new power source may have moved any device.
  void reread_devices();
  // Where the devices tell of their changes: wait on these beside the broadcasts, then hand the
  // wait's result to devices_ready().
  std::vector<pollfd> device_descriptors();
  void devices_ready(const std::vector<pollfd>& polled);

  long files_opened() const { return files_.files_opened(); }

 private:
  uint32_t power_state_fingerprint();
  void read_stale_devices();

  LinuxLaptopPaths paths_;
  SystemPowerClocks system_clocks_;
  PosixSysfsFiles files_;
  PosixSysfsFiles probe_files_;   // the late-status watch, counted apart from the battery query
  PosixSysfsFiles device_files_;  // backlight and rfkill, also apart from the battery query
  PosixSysfsFiles sleep_files_;   // what the kernel tells after a resume
  SysfsBatteryPort battery_;
  LogindPowerPort power_;
  BacklightLcdPort lcd_;
  RfkillWlanPort wlan_;
  UnavailableInputPort input_;
  LinuxDesktop desktop_;
  std::unique_ptr<WmiPort> wmi_;
  std::unique_ptr<PowerBroadcastSource> broadcasts_;
  SysfsSleepFactsPort sleep_facts_;

  // The devices as last read, and which to read again.
  DeviceWatch watch_;
  DeviceChanges stale_{true, true, true, true};
  long lcd_sets_seen_ = 0, radio_sets_seen_ = 0;
  std::optional<Backlight> backlight_;
  std::vector<RfkillSwitch> radios_;
  bool rtc_present_ = false;
  bool root_ = false;
};

// Whether the machine under `root` has a system battery, so the real laptop is the one to run.
bool machine_has_battery(const std::string& power_supply_root = kPowerSupplyRoot);
