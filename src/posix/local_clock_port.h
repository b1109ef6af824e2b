// GetLocalTime from the C library's local time.
#pragma once

#include "ports/clock_port.h"

class LocalClockPort final : public ClockPort {
 public:
  void GetLocalTime(SYSTEMTIME* time) override;
};
