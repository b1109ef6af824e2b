// What the real desktop does with the messages the panel leaves to default processing: the display's
// power (SC_MONITORPOWER) and the volume (WM_APPCOMMAND mute, down, up).
#pragma once

#include <memory>

#include "common/win_types.h"
#include "linux/display_power.h"
#include "linux/mixer.h"

constexpr int kVolumeStepPercent = 2;  // what one press of a volume key moves on Windows

class LinuxDesktop {
 public:
  LinuxDesktop(std::unique_ptr<Mixer> mixer, std::unique_ptr<DisplayPower> display)
      : mixer_(std::move(mixer)), display_(std::move(display)) {}

  // DefWindowProc's part, after the panel's procedure has declined the message.
  LRESULT default_processing(UINT message, WPARAM wparam, LPARAM lparam);

  Mixer& mixer() { return *mixer_; }
  const DisplayPower& display() const { return *display_; }

 private:
  bool app_command(int command);

  std::unique_ptr<Mixer> mixer_;
  std::unique_ptr<DisplayPower> display_;
};
