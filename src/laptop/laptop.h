// The laptop the Linux program runs on, as its hosts see it: the simulated one or the real one,
// chosen once at start by the entry. The terminal panel and the unattended runs both drive it, so it
// lives below both; neither laptop has to know of the other nor of a host. An adapter for each
// answers it.
#pragma once

#include <poll.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ports/panel_ports.h"
#include "ports/sleep_facts_port.h"
#include "ports/wmi_port.h"
#include "posix/laptop_status.h"
#include "posix/monotonic_clock.h"
#include "simulated/power_screen.h"

class Laptop {
 public:
  virtual ~Laptop() = default;

  // The panel's ports: the laptop answers the devices, the host brings its dialog, clock and files.
  virtual PanelPorts ports(DialogPort& dialog, ClockPort& clock, LogFilePort& files) = 0;
  virtual WmiPort& wmi() = 0;
  // DefWindowProc's part of the panel's messages: display power and volume.
  virtual LRESULT default_processing(UINT message, WPARAM wparam, LPARAM lparam) = 0;
  // Where the sleeping and shutdown screens are shown.
  virtual void set_power_screen(PowerScreen* screen) = 0;
  // What the title line and the status strip show; read afresh on every call.
  virtual LaptopStatus status() = 0;

  // The power broadcasts: a descriptor to wait on (-1: none), how long at most to wait (-1: no limit),
  // and those due now.
  virtual int broadcast_fd() { return -1; }
  virtual int broadcast_timeout_ms() { return -1; }
  virtual std::vector<WPARAM> take_broadcasts() = 0;
  // Where the devices the status strip shows tell of their changes: descriptors to wait on beside the
  // broadcasts', then what the wait saw on them.
  virtual std::vector<pollfd> device_descriptors() { return {}; }
  virtual void devices_ready(const std::vector<pollfd>& polled) { static_cast<void>(polled); }

  // What the kernel tells about the laptop's sleeps.
  virtual SleepFactsPort& sleep_facts() = 0;
  // Why a sleep (hibernate) that nobody attends could not run: nothing would wake the machine, or it
  // would be refused; empty when it can run.
  virtual std::string unattended_sleep_refusal(bool hibernate) = 0;
  // Why the last sleep or hibernate asked for did not happen; empty when it did.
  virtual std::string sleep_problem() { return {}; }
  // False once the battery the panel reads is gone.
  virtual bool has_battery() { return true; }

  // A display the program itself turned off (the simulated one) is shown dark until a key.
  virtual bool display_on() const { return true; }
  virtual void wake_display() {}
  // Plugs or unplugs the adapter where the laptop has one to toggle; false where it has not.
  virtual bool toggle_ac_adapter() { return false; }
};

// The simulated laptop, starting with a battery charged to `start_fraction`.
std::unique_ptr<Laptop> simulated_laptop(MonotonicClock& clock, double start_fraction);
// The machine's own battery, AC, board and devices; with `clocks`, its clocks are read there.
class PowerClocks;
std::unique_ptr<Laptop> real_laptop();
std::unique_ptr<Laptop> real_laptop(PowerClocks& clocks);
