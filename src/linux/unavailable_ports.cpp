#include "linux/unavailable_ports.h"

UINT UnavailableInputPort::SendInput(UINT, INPUT*, int) {
  ++refused_;
  return 0;  // blocked: no event inserted
}
