#include "posix/local_clock_port.h"

#include <sys/time.h>

#include <ctime>

void LocalClockPort::GetLocalTime(SYSTEMTIME* time) {
  timeval now{};
  gettimeofday(&now, nullptr);
  std::tm local{};
  const time_t seconds = now.tv_sec;
  localtime_r(&seconds, &local);
  time->wYear = static_cast<WORD>(local.tm_year + 1900);
  time->wMonth = static_cast<WORD>(local.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
  time->wDay = static_cast<WORD>(local.tm_mday);
  time->wHour = static_cast<WORD>(local.tm_hour);
  time->wMinute = static_cast<WORD>(local.tm_min);
  time->wSecond = static_cast<WORD>(local.tm_sec);
  time->wMilliseconds = static_cast<WORD>(now.tv_usec / 1000);
}
