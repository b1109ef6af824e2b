// Injected keyboard input, straight through to Windows.
#pragma once

#include "ports/input_port.h"

class SendInputPort final : public InputPort {
 public:
  UINT SendInput(UINT count, INPUT* inputs, int size) override;
};
