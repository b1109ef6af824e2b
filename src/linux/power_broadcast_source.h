// The power broadcasts of the real laptop: power_supply uevents from the device monitor, logind's
// PrepareForSleep from the system bus (DBUS_SYSTEM_BUS_ADDRESS is honoured), and, with no bus, a jump
// of the boot clock. The main loop polls fd() for input, at most timeout_ms(), then calls drain().
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "linux/broadcast_schedule.h"
#include "linux/power_clocks.h"

class PowerBroadcastSource {
 public:
  // `supplies_changed` is called from drain() when a supply was added or removed, and before any
  // broadcast is handed out, as the panel then reads the battery's static information again.
  PowerBroadcastSource(PowerClocks& clocks, std::function<uint32_t()> power_state,
                       std::function<void()> supplies_changed = {});
  ~PowerBroadcastSource();
  PowerBroadcastSource(const PowerBroadcastSource&) = delete;
  PowerBroadcastSource& operator=(const PowerBroadcastSource&) = delete;

  // Readable when the monitor or the bus has something; -1 when neither could be set up.
  int fd() const;
  // -1: no limit.
  int timeout_ms();
  std::vector<WPARAM> drain();

  // What was set up, for the status strip: an empty text when all is well.
  bool monitoring_uevents() const;
  bool watching_logind() const;
  const std::string& problem() const;

  struct Kernel;  // the sd-event loop with its device monitor and bus, defined with the code

 private:
  PowerClocks& clocks_;
  BroadcastSchedule schedule_;
  std::function<void()> supplies_changed_;
  std::unique_ptr<Kernel> kernel_;
};
