// What the user sees of the simulated machine while it sleeps or shuts down.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct SleepView {
  bool hibernating = false;
  std::optional<uint64_t> resume_in_ms;  // the armed resume timer, when it can wake the machine
  double time_scale = 1.0;               // battery seconds per second asleep
  // A real machine sleeps for real: no key wakes it from here, and its battery is not simulated.
  bool real_machine = false;
  std::u16string wake_alarm;  // on a real machine: the local time the armed wake alarm rings, or empty
};

class PowerScreen {
 public:
  virtual ~PowerScreen() = default;
  // Shows the sleeping screen and waits at most `wait_ms` for input; true when a key woke the machine.
  virtual bool show_asleep(const SleepView& view, int wait_ms) = 0;
  // Shows the shutdown screen for a moment.
  virtual void show_shutting_down() = 0;
  // While a real machine sleeps, asked often and without waiting: true once the user wants the
  // program to end (a signal, or Ctrl+C typed), so the wait for the resume is given up.
  virtual bool stop_requested() { return false; }
};
