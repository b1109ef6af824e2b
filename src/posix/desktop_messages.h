// What DefWindowProc does with the messages the panel leaves to default processing, on a desktop
// that can power its display and answer the volume keys: SC_MONITORPOWER and WM_APPCOMMAND.
#pragma once

#include "common/win_types.h"

constexpr int kVolumeStepPercent = 2;  // what one press of a volume key moves on Windows

class DesktopMessages {
 public:
  // DefWindowProc's part, after the panel's procedure has declined the message.
  LRESULT default_processing(UINT message, WPARAM wparam, LPARAM lparam);

 protected:
  ~DesktopMessages() = default;
  virtual void set_display_on(bool on) = 0;
  // One of the kAppCommand values, the device bits taken off; true when it was carried out.
  virtual bool app_command(int command) = 0;
};
