// A deterministic 64-bit generator (splitmix64), so every run and every build sees the same values.
#pragma once

#include <cstdint>

class Splitmix {
 public:
  uint64_t next() {
    state_ += 0x9E3779B97F4A7C15u;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  uint32_t next32() { return static_cast<uint32_t>(next() >> 32); }

 private:
  uint64_t state_ = 20120704;
};
