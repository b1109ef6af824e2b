#include "devices/device_actions.h"

// The device ports (LCD, Native Wi-Fi, input) arrive with the device settings; until then these
// buttons are routed here and do nothing.
int step_brightness(PanelState&, const PanelPorts&, bool) {
  return 0;
}
void toggle_wireless_radio(PanelState&, const PanelPorts&) {}
void toggle_display_power(PanelState&, const PanelPorts&) {}
void send_app_command(PanelState&, const PanelPorts&, int) {}
void send_win_chord(PanelState&, const PanelPorts&, char16_t) {}
