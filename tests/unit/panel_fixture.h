// A panel wired to fake ports, its power broadcast routed back into its own procedure.
#pragma once

#include <gtest/gtest.h>

#include "fakes/fake_battery_port.h"
#include "fakes/fake_dialog_port.h"
#include "fakes/fake_input_port.h"
#include "fakes/fake_lcd_port.h"
#include "fakes/fake_log_file_port.h"
#include "fakes/fake_power_port.h"
#include "fakes/fake_wlan_port.h"
#include "panel/panel.h"

struct FakePanel {
  FakeDialogPort dialog;
  FakeClockPort clock;
  FakeBatteryPort battery;
  FakeLogFilePort files;
  FakePowerPort power;
  FakeLcdPort lcd;
  FakeWlanPort wlan;
  FakeInputPort input;
  PanelPorts ports{dialog, clock, battery, files, power, lcd, wlan, input};
  PanelState state;

  FakePanel() {
    state.panel = reinterpret_cast<HWND>(0x100);
    state.host_window = reinterpret_cast<HWND>(0x200);
    dialog.on_send = [this](UINT message, WPARAM wparam, LPARAM lparam) {
      return static_cast<LRESULT>(panel_dialog_message(state, ports, message, wparam, lparam));
    };
  }

  FakePanel(const FakePanel&) = delete;
  FakePanel& operator=(const FakePanel&) = delete;

  void set_capacity(ULONG remaining) { battery.batteries[0].status.Capacity = remaining; }
  void tick() { panel_dialog_message(state, ports, WM_TIMER, 1, 0); }
  void ticks(int count) {
    for (int i = 0; i < count; ++i) {
      tick();
    }
  }
  std::string text(int id) const { return dialog.text(id); }
};

class PanelFixture : public ::testing::Test, protected FakePanel {};
