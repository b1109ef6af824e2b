// What the strip below the terminal panel shows of the laptop the program runs on.
#pragma once

#include <string>

struct LaptopStatus {
  bool ac_online = false;
  double charge_percent = 0.0;
  int rate_mw = 0;
  int brightness_percent = 100;
  bool radio_on = false;
  int volume_percent = 0;
  bool muted = false;
  bool display_on = true;
  unsigned wake_timers_ac = 0, wake_timers_dc = 0;
  std::u16string note;  // what the desktop last did with a key chord
};
