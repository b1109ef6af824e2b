#include "posix/desktop_messages.h"

#include "common/app_commands.h"

namespace {

constexpr WPARAM kSysCommandMask = 0xFFF0;  // the low four bits are the system's own
constexpr LPARAM kMonitorOn = -1;

}  // namespace

LRESULT DesktopMessages::default_processing(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND && (wparam & kSysCommandMask) == SC_MONITORPOWER) {
    // 1 (low power) and 2 (off) both blank the display; -1 turns it on.
    if (lparam == kMonitorOn || lparam == 1 || lparam == 2) {
      set_display_on(lparam == kMonitorOn);
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
