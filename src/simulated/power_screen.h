// What the user sees of the simulated machine while it sleeps or shuts down.
#pragma once

#include <cstdint>
#include <optional>

struct SleepView {
  bool hibernating = false;
  std::optional<uint64_t> resume_in_ms;  // the armed resume timer, when it can wake the machine
  double time_scale = 1.0;               // battery seconds per second asleep
};

class PowerScreen {
 public:
  virtual ~PowerScreen() = default;
  // Shows the sleeping screen and waits at most `wait_ms` for input; true when a key woke the machine.
  virtual bool show_asleep(const SleepView& view, int wait_ms) = 0;
  // Shows the shutdown screen for a moment.
  virtual void show_shutting_down() = 0;
};
