#include "simulated/simulated_laptop.h"

LaptopStatus SimulatedLaptop::status() {
  const BatteryReading reading = model_.read();
  LaptopStatus status;
  status.ac_online = model_.ac_online();
  status.charge_percent = reading.capacity_mwh * 100.0 / kFullChargedCapacityMwh;
  status.rate_mw = reading.rate_mw;
  status.brightness_percent = lcd_.level();
  status.radio_on = wlan_.radio_on();
  status.volume_percent = desktop_.volume_percent();
  status.muted = desktop_.muted();
  status.display_on = desktop_.display_on();
  status.wake_timers_ac = power_.wake_timers().ac;
  status.wake_timers_dc = power_.wake_timers().dc;
  status.note = input_.note();
  return status;
}
