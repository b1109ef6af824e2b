// What the simulated laptop's kernel tells about its sleeps: it suspends to s2idle and hibernates in
// platform mode, wakes by its resume timer (the RTC's interrupt) or a key (the keyboard's), and its
// boot clock runs on by the time its battery felt asleep.
#pragma once

#include "ports/sleep_facts_port.h"
#include "simulated/simulated_power_port.h"

class SimulatedSleepFactsPort final : public SleepFactsPort {
 public:
  explicit SimulatedSleepFactsPort(SimulatedPowerPort& power) : power_(power) {}

  std::optional<std::string> read(SleepFact fact) override;
  SleepClocks read_clocks() override;

 private:
  SimulatedPowerPort& power_;
};
