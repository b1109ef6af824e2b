// The sleeping screen of a run nobody watches: the simulated laptop sleeps through the waits it asks
// for, and a stop request wakes it as a key would.
#pragma once

#include "lab/lab_waiter.h"
#include "laptop/laptop.h"  // the power screen it offers

class LabPowerScreen final : public PowerScreen {
 public:
  explicit LabPowerScreen(LabWaiter& waiter) : waiter_(waiter) {}
  bool show_asleep(const SleepView&, int wait_ms) override {
    if (wait_ms > 0) {
      waiter_.wait(-1, wait_ms);
    }
    return waiter_.stop_requested();
  }
  void show_shutting_down() override {}
  bool stop_requested() override { return waiter_.stop_requested(); }

 private:
  LabWaiter& waiter_;
};
