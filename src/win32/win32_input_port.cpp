#include "win32/win32_input_port.h"

UINT Win32InputPort::SendInput(UINT count, INPUT* inputs, int size) {
  return ::SendInput(count, inputs, size);
}
