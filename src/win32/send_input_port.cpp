#include "win32/send_input_port.h"

UINT SendInputPort::SendInput(UINT count, INPUT* inputs, int size) {
  return ::SendInput(count, inputs, size);
}
