#include "linux/linux_desktop.h"

#include <algorithm>

namespace {

constexpr WPARAM kSysCommandMask = 0xFFF0;  // the low four bits are the system's own
constexpr LPARAM kMonitorOn = -1;
constexpr int kAppCommandMute = 8;
constexpr int kAppCommandVolumeDown = 9;
constexpr int kAppCommandVolumeUp = 10;
constexpr int kAppCommandDeviceMask = 0xF000;  // FAPPCOMMAND_MASK: the device bits of the high word

}  // namespace

LRESULT LinuxDesktop::default_processing(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND && (wparam & kSysCommandMask) == SC_MONITORPOWER) {
    // 1 (low power) and 2 (off) both blank the display; -1 turns it on.
    if (lparam == kMonitorOn || lparam == 1 || lparam == 2) {
      display_->set_on(lparam == kMonitorOn);
    }
    return 0;
  }
  if (message == WM_APPCOMMAND) {
    const int command =
        static_cast<int>((static_cast<uint32_t>(lparam) >> 16) & 0xFFFF) & ~kAppCommandDeviceMask;
    return app_command(command) ? TRUE : FALSE;
  }
  return 0;
}

bool LinuxDesktop::app_command(int command) {
  if (command != kAppCommandMute && command != kAppCommandVolumeDown && command != kAppCommandVolumeUp) {
    return false;
  }
  const std::optional<MixerReading> reading = mixer_->read();
  if (!reading) {
    return false;
  }
  if (command == kAppCommandMute) {
    return mixer_->set_muted(!reading->muted);
  }
  const int step = command == kAppCommandVolumeUp ? kVolumeStepPercent : -kVolumeStepPercent;
  // As on Windows, a volume key also ends a mute.
  const bool moved = mixer_->set_percent(std::clamp(reading->percent + step, 0, 100));
  const bool unmuted = !reading->muted || mixer_->set_muted(false);
  return moved && unmuted;
}
