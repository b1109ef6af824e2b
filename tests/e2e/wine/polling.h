// Waiting for something another process does, by looking again every 200 ms.
#pragma once

#include <windows.h>

// True as soon as `condition()` holds; false when it still does not after `timeout_ms`.
template <typename Condition>
bool wait_until(DWORD timeout_ms, Condition condition) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (!condition()) {
    if (GetTickCount64() >= deadline) {
      return false;
    }
    Sleep(200);
  }
  return true;
}
