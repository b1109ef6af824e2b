#include "linux/linux_desktop.h"

#include <algorithm>

#include "common/app_commands.h"

bool LinuxDesktop::app_command(int command) {
  if (command != kAppCommandVolumeMute && command != kAppCommandVolumeDown &&
      command != kAppCommandVolumeUp) {
    return false;
  }
  mixer_->retry();  // a key press is worth another try where the mixer could not be opened
  const std::optional<MixerReading> reading = mixer_->read();
  if (!reading) {
    return false;
  }
  if (command == kAppCommandVolumeMute) {
    return mixer_->set_muted(!reading->muted);
  }
  const int step = command == kAppCommandVolumeUp ? kVolumeStepPercent : -kVolumeStepPercent;
  // As on Windows, a volume key also ends a mute.
  const bool moved = mixer_->set_percent(std::clamp(reading->percent + step, 0, 100));
  const bool unmuted = !reading->muted || mixer_->set_muted(false);
  return moved && unmuted;
}
