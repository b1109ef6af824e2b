// A device handle opened through a port, closed through the same port on every way out.
#pragma once

#include "common/win_types.h"

template <class Port>
class OpenedDevice {
 public:
  OpenedDevice(Port& port, HANDLE handle) : port_(port), handle_(handle) {}
  ~OpenedDevice() { close(); }
  OpenedDevice(const OpenedDevice&) = delete;
  OpenedDevice& operator=(const OpenedDevice&) = delete;
  bool is_open() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  void close() {
    if (is_open()) {
      port_.CloseHandle(handle_);
      handle_ = INVALID_HANDLE_VALUE;
    }
  }

 private:
  Port& port_;
  HANDLE handle_;
};
