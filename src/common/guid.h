// GUIDs compared as the ports receive them: by pointer, which may be null.
#pragma once

#include <cstring>

#include "common/win_types.h"

inline bool same_guid(const GUID* a, const GUID& b) {
  return a != nullptr && std::memcmp(a, &b, sizeof b) == 0;
}
