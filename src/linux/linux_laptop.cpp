#include "linux/linux_laptop.h"

#include <ctime>

#include "linux/backlight_levels.h"
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

std::string local_time_text(int64_t epoch_seconds) {
  const time_t when = static_cast<time_t>(epoch_seconds);
  tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::string join(const std::string& a, const std::string& b) {
  return a.empty() ? b : b.empty() ? a : a + "; " + b;
}

std::string describe_radio(const std::vector<RfkillSwitch>& switches, const std::string& problem) {
  if (switches.empty()) {
    return "radio unavailable: no wlan rfkill switch";
  }
  std::string text;
  for (const RfkillSwitch& radio : switches) {
    text += text.empty() ? "radio " : ", ";
    text += radio.hard_blocked ? "off by its switch" : radio.soft_blocked ? "off" : "on";
    text += " (" + radio.name + ")";
  }
  return problem.empty() ? text : text + "; " + problem;
}

bool running_as_root() {
  return ::geteuid() == 0;
}

}  // namespace

LinuxLaptop::LinuxLaptop(LinuxLaptopPaths paths, LinuxLaptopDevices devices)
    : LinuxLaptop(system_clocks_, std::move(paths), std::move(devices)) {}

LinuxLaptop::LinuxLaptop(PowerClocks& clocks, LinuxLaptopPaths paths, LinuxLaptopDevices devices)
    : paths_(std::move(paths)),
      battery_(files_, paths_.power_supply_root),
      power_(LogindBus(paths_.system_bus_address, paths_.logind_timeouts), RtcWakeAlarm(paths_.rtc_root)),
      lcd_(device_files_, LogindBus(paths_.system_bus_address, paths_.logind_timeouts),
           paths_.backlight_root),
      wlan_(device_files_, paths_.rfkill),
      desktop_(devices.mixer ? std::move(devices.mixer) : alsa_mixer(),
               devices.display ? std::move(devices.display) : session_display_power()),
      wmi_(dmi_wmi_port(files_, paths_.dmi_root)),
      broadcasts_(std::make_unique<PowerBroadcastSource>(
          clocks, [this] { return power_state_fingerprint(); }, [this] { battery_.supplies_changed(); })),
      sleep_facts_(sleep_files_, clocks, {paths_.power_root, paths_.rtc_root, paths_.interrupts}),
      root_(running_as_root()) {
  // Without the uevent monitor nothing tells of a pack pulled or an adapter added: every query lists.
  battery_.set_told_of_supply_changes(broadcasts_->monitoring_uevents());
}

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

LRESULT LinuxLaptop::default_processing(UINT message, WPARAM wparam, LPARAM lparam) {
  return desktop_.default_processing(message, wparam, lparam);
}

void LinuxLaptop::reread_devices() {
  stale_ = {true, true, true, true};
}

std::vector<pollfd> LinuxLaptop::device_descriptors() {
  std::vector<pollfd> watched;
  if (watch_.fd() >= 0) {
    watched.push_back({watch_.fd(), POLLIN, 0});
  }
  for (const pollfd& mixer : desktop_.mixer().descriptors()) {
    watched.push_back(mixer);
  }
  return watched;
}

void LinuxLaptop::devices_ready(const std::vector<pollfd>& polled) {
  // As handed out: the watch's descriptor first, the mixer's after it.
  size_t first_of_mixer = 0;
  if (watch_.fd() >= 0 && !polled.empty() && polled.front().fd == watch_.fd()) {
    first_of_mixer = 1;
    if (polled.front().revents != 0) {
      const DeviceChanges changed = watch_.take();
      stale_.backlight |= changed.backlight;
      stale_.rfkill |= changed.rfkill;
      stale_.rtc |= changed.rtc;
      if (changed.sound) {
        desktop_.mixer().retry();  // a sound card came: worth another try where none opened
      }
    }
  }
  desktop_.mixer().handle_events(
      {polled.begin() + static_cast<std::ptrdiff_t>(first_of_mixer), polled.end()});
}

void LinuxLaptop::read_stale_devices() {
  if (watch_.fd() < 0) {
    reread_devices();  // no uevents: nothing tells of a change
  }
  if (stale_.backlight || lcd_.levels_set() != lcd_sets_seen_) {
    backlight_ = lcd_.current();
    lcd_sets_seen_ = lcd_.levels_set();
  }
  if (stale_.rfkill || wlan_.radio_sets() != radio_sets_seen_) {
    radios_ = wlan_.switches();
    radio_sets_seen_ = wlan_.radio_sets();
  }
  if (stale_.rtc) {
    rtc_present_ = RtcWakeAlarm(paths_.rtc_root).exists();
  }
  stale_ = DeviceChanges{};
}

LinuxLaptopDescription LinuxLaptop::describe() {
  read_stale_devices();
  LinuxLaptopDescription description;
  description.ac_online = battery_.ac_on_line();
  if (const PowerSupply* battery = reported_battery(battery_.supplies())) {
    description.battery_name = widen(battery->name);
    description.model = widen(printable_ascii(battery->fields.text("model_name").value_or("")));
    description.manufacturer = widen(printable_ascii(battery->fields.text("manufacturer").value_or("")));
  }
  std::string needs;

  if (const std::optional<Backlight>& backlight = backlight_) {
    description.brightness =
        widen("brightness " + std::to_string(percent_for_raw(backlight->raw, backlight->max)) + " % (" +
              backlight->name + ")" + (lcd_.problem().empty() ? "" : "; " + lcd_.problem()));
  } else {
    description.brightness = u"brightness unavailable: no backlight";
  }
  description.radio = widen(describe_radio(radios_, wlan_.problem()));
  if (!wlan_.problem().empty()) {
    needs = join(needs, "radio: write access to " + paths_.rfkill.control);
  }

  if (const std::optional<MixerReading> volume = desktop_.mixer().read()) {
    description.volume =
        widen("volume " + std::to_string(volume->percent) + " %" + (volume->muted ? " muted" : ""));
  } else {
    description.volume = widen("volume unavailable: " + desktop_.mixer().problem());
  }
  const std::string display_problem = desktop_.display().unavailable();
  description.display = display_problem.empty() ? (desktop_.display().on() ? u"display on" : u"display off")
                                                : widen("unavailable: " + display_problem);

  const PowerPortReport power = power_.report();
  if (power.alarm_armed_for) {
    description.wake_alarm = widen("wake alarm " + local_time_text(*power.alarm_armed_for));
  } else if (!rtc_present_) {
    description.wake_alarm = u"wake alarm unavailable: no RTC";
  } else {
    description.wake_alarm = u"no wake alarm";
  }
  if (!power.alarm_problem.empty()) {
    description.wake_alarm += widen("; " + power.alarm_problem);
  }
  if (!root_) {
    needs = join(needs, "wake alarm: root");
  }
  description.unavailable = kChordsUnavailable;
  description.needs_privilege = widen(needs);
  description.power = widen(power.logind_problem);
  description.events = widen(broadcasts_->problem());
  return description;
}

std::u16string LinuxLaptop::title() const {
  std::u16string title = u"Chargewright on ";
  const PowerSupply* battery = reported_battery(battery_.supplies());
  title += battery == nullptr ? u"this laptop" : widen(battery->name);
  std::u16string details;
  if (battery != nullptr) {
    details = widen(printable_ascii(battery->fields.text("model_name").value_or("")));
    const std::u16string manufacturer =
        widen(printable_ascii(battery->fields.text("manufacturer").value_or("")));
    if (!manufacturer.empty()) {
      details += (details.empty() ? u"" : u", ") + manufacturer;
    }
  }
  if (!details.empty()) {
    title += u" (" + details + u")";
  }
  return title;
}

bool LinuxLaptop::battery_found() const {
  return reported_battery(battery_.supplies()) != nullptr;
}

std::string LinuxLaptop::unattended_sleep_refusal(bool hibernate) {
  const RtcWakeAlarm alarm(paths_.rtc_root);
  if (!alarm.exists()) {
    return "no wake alarm: " + paths_.rtc_root + " has no wakealarm";
  }
  if (!alarm.writable()) {
    return "setting the wake alarm needs root (" + paths_.rtc_root + "/wakealarm)";
  }
  LogindBus bus(paths_.system_bus_address, paths_.logind_timeouts);
  const char* asked = hibernate ? "CanHibernate" : "CanSuspend";
  const std::optional<std::string> answer = bus.can(asked);
  if (!answer) {
    return "no logind: " + bus.last_error();
  }
  if (*answer != "yes") {
    return "logind would refuse: " + std::string(asked) + " says \"" + *answer + "\"";
  }
  return {};
}

bool machine_has_battery(const std::string& power_supply_root) {
  PosixSysfsFiles files;
  return has_system_battery(files, power_supply_root);
}
