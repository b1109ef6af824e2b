// The sleeping and shutdown screens of the simulated laptop, drawn by the terminal.
#pragma once

#include <csignal>

#include "simulated/power_screen.h"
#include "terminal/terminal_screen.h"

// The lines of the sleeping screen.
std::vector<std::wstring> sleeping_screen_lines(const SleepView& view);

class TerminalPowerScreens final : public PowerScreen {
 public:
  TerminalPowerScreens(TerminalScreen& screen, volatile std::sig_atomic_t& stop_requested)
      : screen_(screen), stop_requested_(stop_requested) {}

  bool show_asleep(const SleepView& view, int wait_ms) override;
  void show_shutting_down() override;
  bool stop_requested() override;

 private:
  TerminalScreen& screen_;
  volatile std::sig_atomic_t& stop_requested_;
};
