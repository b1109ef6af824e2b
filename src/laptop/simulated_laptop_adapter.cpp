// The simulated laptop behind the hosts' interface; its strip names each simulated device.
#include <cstdio>

#include "laptop/ascii_text.h"
#include "laptop/laptop.h"
#include "simulated/simulated_laptop.h"

namespace {

std::u16string number(long value) {
  return ascii(std::to_string(value).c_str());
}

class SimulatedLaptopAdapter final : public Laptop {
 public:
  SimulatedLaptopAdapter(MonotonicClock& clock, double start_fraction) : laptop_(clock, start_fraction) {}

  PanelPorts ports(DialogPort& dialog, ClockPort& clock, LogFilePort& files) override {
    return laptop_.ports(dialog, clock, files);
  }
  WmiPort& wmi() override { return laptop_.wmi(); }
  LRESULT default_processing(UINT message, WPARAM wparam, LPARAM lparam) override {
    return laptop_.default_processing(message, wparam, lparam);
  }
  void set_power_screen(PowerScreen* screen) override { laptop_.set_power_screen(screen); }
  std::vector<WPARAM> take_broadcasts() override {
    std::vector<WPARAM> due;
    while (!laptop_.power_broadcasts().empty()) {
      due.push_back(laptop_.power_broadcasts().take());
    }
    return due;
  }
  SleepFactsPort& sleep_facts() override { return laptop_.sleep_facts(); }
  // Its resume timers always wake it, and nothing refuses it a sleep.
  std::string unattended_sleep_refusal(bool) override { return {}; }
  bool display_on() const override { return laptop_.display_on(); }
  void wake_display() override { laptop_.wake_display(); }
  bool toggle_ac_adapter() override {
    laptop_.toggle_ac_adapter();
    return true;
  }

  LaptopStatus status() override {
    LaptopStatus status = laptop_.status();
    char battery[64];
    std::snprintf(battery, sizeof battery, "Battery: %.1f %%, %+.1f W", status.charge_percent,
                  status.rate_mw / 1000.0);
    status.name = u"Simulated laptop";
    status.heading = {status.name, ascii(status.ac_online ? "AC adapter: online" : "AC adapter: offline"),
                      ascii(battery)};
    status.details = {
        u"brightness " + number(status.brightness_percent) + u" %",
        ascii(status.radio_on ? "radio on" : "radio off"),
        u"volume " + number(status.volume_percent) + u" %" + (status.muted ? u" (muted)" : u""),
        ascii(status.display_on ? "display on" : "display off"),
        u"wake timers AC " + number(status.wake_timers_ac) + u" DC " + number(status.wake_timers_dc),
    };
    if (!status.note.empty()) {
      status.notices.push_back(status.note);
    }
    status.keys = u"F2 AC adapter   Tab/Shift+Tab focus   Enter/Space press   Alt+X exit   Ctrl+C quit";
    return status;
  }

 private:
  SimulatedLaptop laptop_;
};

}  // namespace

std::unique_ptr<Laptop> simulated_laptop(MonotonicClock& clock, double start_fraction) {
  return std::make_unique<SimulatedLaptopAdapter>(clock, start_fraction);
}
