// What the simulated system does with the messages the panel leaves to default processing: the
// display's power (SC_MONITORPOWER) and the speaker's volume (WM_APPCOMMAND).
#pragma once

#include "posix/desktop_messages.h"

constexpr int kStartVolumePercent = 40;

class SimulatedDesktop final : public DesktopMessages {
 public:
  bool display_on() const { return display_on_; }
  // Input turns a display that was powered off back on.
  void wake_display() { display_on_ = true; }
  int volume_percent() const { return volume_percent_; }
  bool muted() const { return muted_; }

 private:
  void set_display_on(bool on) override { display_on_ = on; }
  bool app_command(int command) override;

  bool display_on_ = true;
  int volume_percent_ = kStartVolumePercent;
  bool muted_ = false;
};
