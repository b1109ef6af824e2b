// The display's power, as SC_MONITORPOWER asks for it: DPMS where an X11 display is reachable (and the
// program was built with libXext), blanking on a virtual console, otherwise unavailable with the reason.
#pragma once

#include <memory>
#include <string>

class DisplayPower {
 public:
  virtual ~DisplayPower() = default;
  virtual bool set_on(bool on) = 0;
  // Empty while the display can be switched; otherwise why not.
  virtual std::string unavailable() const = 0;
  // As last set by this program.
  virtual bool on() const = 0;
};

// Picks the mechanism for this session from its environment and terminal.
std::unique_ptr<DisplayPower> session_display_power();
