// What the real desktop does with the messages the panel leaves to default processing: the display's
// power (SC_MONITORPOWER) and the volume (WM_APPCOMMAND mute, down, up).
#pragma once

#include <memory>

#include "linux/display_power.h"
#include "linux/mixer.h"
#include "posix/desktop_messages.h"

class LinuxDesktop final : public DesktopMessages {
 public:
  LinuxDesktop(std::unique_ptr<Mixer> mixer, std::unique_ptr<DisplayPower> display)
      : mixer_(std::move(mixer)), display_(std::move(display)) {}

  Mixer& mixer() { return *mixer_; }
  const DisplayPower& display() const { return *display_; }

 private:
  void set_display_on(bool on) override { display_->set_on(on); }
  bool app_command(int command) override;

  std::unique_ptr<Mixer> mixer_;
  std::unique_ptr<DisplayPower> display_;
};
