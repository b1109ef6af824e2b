// The wall clock of the panel's title and the test logs, with Kernel32's shape.
#pragma once

#include "common/win_types.h"

class ClockPort {
 public:
  virtual ~ClockPort() = default;
  virtual void GetLocalTime(SYSTEMTIME* time) = 0;
};
