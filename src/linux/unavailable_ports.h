// What Linux has no equivalent for: the Windows+X and Windows+P chords. The port answers as Windows
// does for a process whose injected input is blocked, so nothing on the machine changes; the reason is
// for the status strip.
#pragma once

#include "ports/input_port.h"

constexpr const char16_t* kChordsUnavailable = u"Windows+X, Windows+P: no Linux equivalent";

class UnavailableInputPort final : public InputPort {
 public:
  UINT SendInput(UINT count, INPUT* inputs, int size) override;
  int refused() const { return refused_; }

 private:
  int refused_ = 0;
};
