#include "simulated/simulated_desktop.h"

#include <algorithm>

namespace {

constexpr WPARAM kSysCommandMask = 0xFFF0;  // the low four bits are the system's own
constexpr LPARAM kMonitorOn = -1;
constexpr int kAppCommandMute = 8;
constexpr int kAppCommandVolumeDown = 9;
constexpr int kAppCommandVolumeUp = 10;
constexpr int kAppCommandDeviceMask = 0xF000;  // FAPPCOMMAND_MASK: the device bits of the high word

}  // namespace

LRESULT SimulatedDesktop::default_processing(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND && (wparam & kSysCommandMask) == SC_MONITORPOWER) {
    monitor_power(lparam);
    return 0;
  }
  if (message == WM_APPCOMMAND) {
    const int command =
        static_cast<int>((static_cast<uint32_t>(lparam) >> 16) & 0xFFFF) & ~kAppCommandDeviceMask;
    return app_command(command) ? TRUE : FALSE;
  }
  return 0;
}

void SimulatedDesktop::monitor_power(LPARAM state) {
  // 1 (low power) and 2 (off) both blank this display; -1 turns it on.
  if (state == kMonitorOn) {
    display_on_ = true;
  } else if (state == 1 || state == 2) {
    display_on_ = false;
  }
}

bool SimulatedDesktop::app_command(int command) {
  switch (command) {
    case kAppCommandMute:
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
