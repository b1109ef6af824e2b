// Remembers every injected input record as it was at the moment it was sent.
#pragma once

#include <vector>

#include "ports/input_port.h"

class FakeInputPort : public InputPort {
 public:
  std::vector<INPUT> events;
  std::vector<int> sizes;
  UINT SendInput(UINT count, INPUT* inputs, int size) override {
    for (UINT i = 0; i < count; ++i) {
      events.push_back(inputs[i]);
    }
    sizes.push_back(size);
    return count;
  }
};
