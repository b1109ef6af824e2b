// Injected keyboard input, straight through to Windows.
#pragma once

#include "devices/input_port.h"

class Win32InputPort final : public InputPort {
 public:
  UINT SendInput(UINT count, INPUT* inputs, int size) override;
};
