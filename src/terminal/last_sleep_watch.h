// The one-line verdict of the panel's last S3 or S4 test in the status strip: what the kernel says
// the machine did while asleep (state, time asleep, hardware sleep, wake source).
#pragma once

#include <functional>
#include <string>

#include "laptop/laptop.h"
#include "panel/panel_state.h"

class LastSleepWatch {
 public:
  LastSleepWatch(Laptop& laptop, PanelState& state, const PanelPorts& ports)
      : laptop_(laptop), state_(state), ports_(ports) {}

  // Handles one message of the panel; around S3 and S4 reads what the kernel tells before and after.
  INT_PTR handle(UINT message, WPARAM wparam, const std::function<INT_PTR()>& panel_handles);
  // The laptop's status with the verdict first among its details, where no cut reaches it.
  LaptopStatus status() const;

 private:
  Laptop& laptop_;
  PanelState& state_;
  const PanelPorts& ports_;
  std::u16string verdict_;
};
