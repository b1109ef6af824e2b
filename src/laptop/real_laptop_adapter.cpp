// The machine's own laptop behind the hosts' interface: its broadcasts come from the kernel and
// logind, and its strip says what each device reports or why it is unavailable.
#include <chrono>
#include <ctime>

#include "laptop/ascii_text.h"
#include "laptop/laptop.h"
#include "linux/linux_laptop.h"

namespace {

std::u16string local_time(int64_t epoch_seconds) {
  const time_t when = static_cast<time_t>(epoch_seconds);
  tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return ascii(text);
}

// "display unavailable: ..." reads better in the strip than the description's bare "unavailable: ...",
// and the reason need not name the device again.
std::u16string named(const std::u16string& device, const std::u16string& line) {
  if (!line.starts_with(u"unavailable: ")) {
    return line;
  }
  std::u16string reason = line.substr(13);
  if (reason.starts_with(device + u" power: ")) {
    reason.erase(0, device.size() + 8);
  }
  return device + u" unavailable: " + reason;
}

class RealLaptopAdapter final : public Laptop {
 public:
  RealLaptopAdapter() { watch_sleeps(); }
  explicit RealLaptopAdapter(PowerClocks& clocks) : laptop_(clocks, {}) { watch_sleeps(); }

  PanelPorts ports(DialogPort& dialog, ClockPort& clock, LogFilePort& files) override {
    return {dialog,          clock,         laptop_.battery(), files,
            laptop_.power(), laptop_.lcd(), laptop_.wlan(),    laptop_.input()};
  }
  WmiPort& wmi() override { return laptop_.wmi(); }
  LRESULT default_processing(UINT message, WPARAM wparam, LPARAM lparam) override {
    return laptop_.default_processing(message, wparam, lparam);
  }
  void set_power_screen(PowerScreen* screen) override { screen_ = screen; }
  int broadcast_fd() override { return laptop_.broadcasts().fd(); }
  int broadcast_timeout_ms() override { return laptop_.broadcasts().timeout_ms(); }
  std::vector<WPARAM> take_broadcasts() override {
    std::vector<WPARAM> due = laptop_.broadcasts().drain();
    if (!due.empty()) {
      laptop_.reread_devices();
    }
    return due;
  }
  std::vector<pollfd> device_descriptors() override { return laptop_.device_descriptors(); }
  void devices_ready(const std::vector<pollfd>& polled) override { laptop_.devices_ready(polled); }
  SleepFactsPort& sleep_facts() override { return laptop_.sleep_facts(); }
  std::string unattended_sleep_refusal(bool hibernate) override {
    return laptop_.unattended_sleep_refusal(hibernate);
  }
  std::string sleep_problem() override { return laptop_.power().report().logind_problem; }
  bool has_battery() override { return laptop_.battery_found(); }

  // The strip is drawn after every key; the devices are read at most once a second for it.
  LaptopStatus status() override {
    const auto now = std::chrono::steady_clock::now();
    if (!status_read_ || now - status_read_at_ >= std::chrono::seconds(1)) {
      status_ = read_status();
      status_read_at_ = now;
      status_read_ = true;
    }
    return status_;
  }

 private:
  LaptopStatus read_status() {
    const LinuxLaptopDescription machine = laptop_.describe();
    LaptopStatus status;
    status.ac_online = machine.ac_online;
    std::u16string details;
    for (const std::u16string& part : {machine.model, machine.manufacturer}) {
      if (!part.empty()) {
        details += (details.empty() ? u"" : u", ") + part;
      }
    }
    status.name = u"Real laptop " +
                  (machine.battery_name.empty() ? u"(no battery now)" : machine.battery_name) +
                  (details.empty() ? u"" : u" (" + details + u")");
    status.heading = {status.name, ascii(machine.ac_online ? "AC adapter: online" : "AC adapter: offline")};
    status.details = {machine.brightness, machine.radio, machine.volume, named(u"display", machine.display),
                      machine.wake_alarm};
    if (!machine.needs_privilege.empty()) {
      status.details.push_back(u"needs more privilege: " + machine.needs_privilege);
    }
    if (!machine.power.empty()) {
      status.notices.push_back(u"power: " + machine.power);
    }
    if (!machine.events.empty()) {
      status.notices.push_back(u"power events: " + machine.events);
    }
    status.details.push_back(machine.unavailable);  // the same on every machine: last, where a cut falls
    status.keys = u"Tab/Shift+Tab focus   Enter/Space press   Alt+X exit   Ctrl+C quit";
    return status;
  }

  void watch_sleeps() {
    laptop_.power().set_before_sleep([this](bool hibernate) { show_sleeping(hibernate); });
    // The program's stop (Ctrl+C, SIGINT, SIGTERM) ends even a sleep that never resumes.
    laptop_.power().set_stop_check([this] { return screen_ != nullptr && screen_->stop_requested(); });
  }

  // Drawn before logind's call, which holds the program until the machine has resumed.
  void show_sleeping(bool hibernate) {
    if (screen_ == nullptr) {
      return;
    }
    SleepView view;
    view.hibernating = hibernate;
    view.real_machine = true;
    if (const std::optional<int64_t> alarm = laptop_.power().report().alarm_armed_for) {
      view.wake_alarm = local_time(*alarm);
    }
    screen_->show_asleep(view, 0);
  }

  LinuxLaptop laptop_;
  PowerScreen* screen_ = nullptr;
  LaptopStatus status_;
  std::chrono::steady_clock::time_point status_read_at_;
  bool status_read_ = false;
};

}  // namespace

std::unique_ptr<Laptop> real_laptop() {
  return std::make_unique<RealLaptopAdapter>();
}

std::unique_ptr<Laptop> real_laptop(PowerClocks& clocks) {
  return std::make_unique<RealLaptopAdapter>(clocks);
}
