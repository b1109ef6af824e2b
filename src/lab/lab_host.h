// The third host of the panel's logic, beside the Windows window and the terminal: the same panel
// state, ticks, logs and power actions, with no screen. Its loop runs the panel's timer and hands the
// laptop's power broadcasts to the panel, as the other hosts' message loops do.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "lab/lab_dialog.h"
#include "lab/lab_waiter.h"
#include "laptop/laptop.h"
#include "panel/panel_state.h"

class LabHost {
 public:
  LabHost(Laptop& laptop, MonotonicClock& clock, ClockPort& local_clock, LogFilePort& files,
          LabWaiter& waiter, std::FILE* notices);

  // The Windows program's order: board identity, then the panel and its initialisation.
  void start();
  // A button of the panel, as a click sends it.
  void press(int command_id);
  // A power broadcast, as the host window gets it.
  void broadcast();

  enum class Ended { done, deadline, stopped };
  // Runs the panel's timer and the laptop's broadcasts until `done` holds (checked after each event),
  // the clock reaches `deadline_ms`, or a stop is asked for.
  Ended run(std::optional<uint64_t> deadline_ms, const std::function<bool()>& done);

  PanelState& state() { return *state_; }
  LabDialog& dialog() { return dialog_; }
  const PanelPorts& ports() const { return ports_; }
  Laptop& laptop() { return laptop_; }
  LabWaiter& waiter() { return waiter_; }
  uint64_t now_ms() { return clock_.milliseconds(); }

 private:
  void deliver_broadcasts();

  Laptop& laptop_;
  MonotonicClock& clock_;
  LabWaiter& waiter_;
  LabDialog dialog_;
  PanelPorts ports_;
  std::unique_ptr<PanelState> state_ = std::make_unique<PanelState>();
};
