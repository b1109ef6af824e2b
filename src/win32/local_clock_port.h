// The wall clock for the panel's title and the test logs.
#pragma once

#include "ports/clock_port.h"

class LocalClockPort final : public ClockPort {
 public:
  void GetLocalTime(SYSTEMTIME* time) override;
};
