#include "simulated/simulated_desktop.h"

#include <algorithm>

#include "common/app_commands.h"

bool SimulatedDesktop::app_command(int command) {
  switch (command) {
    case kAppCommandVolumeMute:
      muted_ = !muted_;
      return true;
    case kAppCommandVolumeDown:
    case kAppCommandVolumeUp:
      // As the volume keys do, a change of volume also unmutes.
      volume_percent_ = std::clamp(
          volume_percent_ + (command == kAppCommandVolumeUp ? kVolumeStepPercent : -kVolumeStepPercent), 0,
          100);
      muted_ = false;
      return true;
    default:
      return false;
  }
}
