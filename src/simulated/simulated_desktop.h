// What the simulated system does with the messages the panel leaves to default processing: the
// display's power (SC_MONITORPOWER) and the speaker's volume (WM_APPCOMMAND).
#pragma once

#include "common/win_types.h"

constexpr int kStartVolumePercent = 40;
constexpr int kVolumeStepPercent = 2;

class SimulatedDesktop {
 public:
  // DefWindowProc's part, after the panel's procedure has declined the message.
  LRESULT default_processing(UINT message, WPARAM wparam, LPARAM lparam);

  bool display_on() const { return display_on_; }
  // Input turns a display that was powered off back on.
  void wake_display() { display_on_ = true; }
  int volume_percent() const { return volume_percent_; }
  bool muted() const { return muted_; }

 private:
  void monitor_power(LPARAM state);
  bool app_command(int command);

  bool display_on_ = true;
  int volume_percent_ = kStartVolumePercent;
  bool muted_ = false;
};
