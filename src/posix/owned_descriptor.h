// A file descriptor closed on every way out of the scope that opened it.
#pragma once

#include <unistd.h>

#include "common/scoped_owner.h"

inline auto owned_descriptor(int descriptor) {
  return scoped_owner<int>(descriptor, -1, [](int open) { ::close(open); });
}
