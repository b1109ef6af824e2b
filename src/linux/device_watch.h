// The kernel's word that a device the status strip shows has changed: uevents of the backlight,
// rfkill, sound and RTC classes, so the strip reads a device again only when it has news. The main
// loop waits on fd() with the other descriptors and calls take() once it is readable.
#pragma once

#include <memory>
#include <string>

struct DeviceChanges {
  bool backlight = false;
  bool rfkill = false;
  bool sound = false;
  bool rtc = false;
};

class DeviceWatch {
 public:
  DeviceWatch();
  ~DeviceWatch();
  DeviceWatch(const DeviceWatch&) = delete;
  DeviceWatch& operator=(const DeviceWatch&) = delete;

  // -1 when the monitor could not be set up; why in problem().
  int fd() const;
  // What changed since the last call; reads whatever the monitor has, without waiting.
  DeviceChanges take();
  const std::string& problem() const;

  struct Monitor;  // the sd-event loop with its device monitor, defined with the code

 private:
  std::unique_ptr<Monitor> monitor_;
};
