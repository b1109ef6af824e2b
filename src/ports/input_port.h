// Injected keyboard input.
#pragma once

#include "common/win_types.h"

class InputPort {
 public:
  virtual ~InputPort() = default;
  virtual UINT SendInput(UINT count, INPUT* inputs, int size) = 0;
};
