// The simulated laptop behind the panel's ports, on a clock the test moves, with files in memory.
#pragma once

#include <gtest/gtest.h>

#include "../shared/fake_clock.h"
#include "fakes/fake_log_file_port.h"
#include "panel/panel.h"
#include "posix/local_clock_port.h"
#include "simulated/simulated_laptop.h"
#include "terminal/terminal_dialog.h"

// The sleeping screen without a terminal: each wait lets the clock run for as long as it was asked
// to wait, and a key arrives at the wait numbered `key_at_wait` (never when 0).
class ScriptedPowerScreen final : public PowerScreen {
 public:
  explicit ScriptedPowerScreen(FakeClock& clock) : clock_(clock) {}
  bool show_asleep(const SleepView& view, int wait_ms) override {
    views.push_back(view);
    if (static_cast<int>(views.size()) == key_at_wait) {
      return true;
    }
    clock_.now_ms += static_cast<uint64_t>(wait_ms);
    return false;
  }
  void show_shutting_down() override { ++shutdown_screens; }

  std::vector<SleepView> views;
  int key_at_wait = 0;
  int shutdown_screens = 0;

 private:
  FakeClock& clock_;
};

class SimulatedLaptopTest : public testing::Test {
 protected:
  SimulatedLaptopTest() {
    power.set_screen(&screen);
    state.host_window = dialog.host_window();
    state.panel = dialog.panel_window();
    dialog.attach([this](UINT message, WPARAM wparam, LPARAM lparam) {
      return panel_dialog_message(state, ports, message, wparam, lparam);
    });
    dialog.set_default_processing([this](UINT message, WPARAM wparam, LPARAM lparam) {
      return desktop.default_processing(message, wparam, lparam);
    });
  }

  FakeClock clock;
  SimulatedLaptop laptop{clock, 0.8};
  BatteryModel& model = laptop.battery_model();
  SimulatedBatteryPort& battery = laptop.battery();
  TerminalDialog dialog{clock};
  LocalClockPort local_clock;
  FakeLogFilePort files;
  PowerBroadcastQueue& broadcasts = laptop.power_broadcasts();
  SimulatedPowerPort& power = laptop.power();
  ScriptedPowerScreen screen{clock};
  SimulatedLcdPort& lcd = laptop.lcd();
  SimulatedWlanPort& wlan = laptop.wlan();
  SimulatedInputPort& input = laptop.input();
  SimulatedDesktop& desktop = laptop.desktop();
  const PanelPorts ports = laptop.ports(dialog, local_clock, files);
  PanelState state{};
};
