// The simulated laptop: every simulated device, the ports that answer from them, and what the status
// strip shows of them. The program, the tests and the entry's choice of laptop all build this one.
#pragma once

#include "ports/panel_ports.h"
#include "posix/base_board_wmi_port.h"
#include "posix/laptop_status.h"
#include "posix/monotonic_clock.h"
#include "posix/power_broadcasts.h"
#include "simulated/battery_model.h"
#include "simulated/simulated_battery_port.h"
#include "simulated/simulated_desktop.h"
#include "simulated/simulated_input_port.h"
#include "simulated/simulated_lcd_port.h"
#include "simulated/simulated_power_port.h"
#include "simulated/simulated_sleep_facts_port.h"
#include "simulated/simulated_wlan_port.h"

class SimulatedLaptop {
 public:
  SimulatedLaptop(MonotonicClock& clock, double start_fraction)
      : model_(clock, start_fraction),
        battery_(model_),
        power_(clock, model_, broadcasts_),
        sleep_facts_(power_) {}
  SimulatedLaptop(const SimulatedLaptop&) = delete;
  SimulatedLaptop& operator=(const SimulatedLaptop&) = delete;

  // The panel's ports: the laptop answers the devices, the host brings its dialog, clock and files.
  PanelPorts ports(DialogPort& dialog, ClockPort& clock, LogFilePort& files) {
    return {dialog, clock, battery_, files, power_, lcd_, wlan_, input_};
  }
  WmiPort& wmi() { return wmi_; }

  // DefWindowProc's part of the panel's messages: display power and volume.
  LRESULT default_processing(UINT message, WPARAM wparam, LPARAM lparam) {
    return desktop_.default_processing(message, wparam, lparam);
  }
  // Where the sleeping and shutdown screens are shown.
  void set_power_screen(PowerScreen* screen) { power_.set_screen(screen); }
  // The broadcasts the system sent while the thread was held in a suspend request.
  PowerBroadcastQueue& power_broadcasts() { return broadcasts_; }
  bool display_on() const { return desktop_.display_on(); }
  void wake_display() { desktop_.wake_display(); }
  // Plugs or unplugs the adapter; the host then broadcasts the change of power source.
  void toggle_ac_adapter() { model_.set_ac_online(!model_.ac_online()); }

  LaptopStatus status();

  BatteryModel& battery_model() { return model_; }
  SimulatedBatteryPort& battery() { return battery_; }
  SimulatedPowerPort& power() { return power_; }
  SleepFactsPort& sleep_facts() { return sleep_facts_; }
  SimulatedLcdPort& lcd() { return lcd_; }
  SimulatedWlanPort& wlan() { return wlan_; }
  SimulatedInputPort& input() { return input_; }
  SimulatedDesktop& desktop() { return desktop_; }

 private:
  BatteryModel model_;
  SimulatedBatteryPort battery_;
  PowerBroadcastQueue broadcasts_;
  SimulatedPowerPort power_;
  SimulatedSleepFactsPort sleep_facts_;
  SimulatedLcdPort lcd_;
  SimulatedWlanPort wlan_;
  SimulatedInputPort input_;
  SimulatedDesktop desktop_;
  BaseBoardWmiPort wmi_;
};
