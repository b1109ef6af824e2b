#include "win32/local_clock_port.h"

void LocalClockPort::GetLocalTime(SYSTEMTIME* time) {
  ::GetLocalTime(time);
}
