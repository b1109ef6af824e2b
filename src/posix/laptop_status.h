// What the strip below the terminal panel shows of the laptop the program runs on.
#pragma once

#include <string>
#include <vector>

struct LaptopStatus {
  bool ac_online = false;
  double charge_percent = 0.0;
  int rate_mw = 0;
  int brightness_percent = 100;  // below 40 the terminal dims the panel, as a dark LCD would look
  bool radio_on = false;
  int volume_percent = 0;
  bool muted = false;
  bool display_on = true;
  unsigned wake_timers_ac = 0, wake_timers_dc = 0;
  std::u16string note;  // what the desktop last did with a key chord

  // What the strip draws, whichever laptop runs, in the order it gives up rows when the terminal is
  // short of them: which laptop it is (also on the title line) with AC and battery; the last problem
  // or why a power request did not go ahead; the devices; the keys that work.
  std::u16string name;
  std::vector<std::u16string> heading;
  std::vector<std::u16string> notices;
  std::vector<std::u16string> details;
  std::u16string keys;
};
