// Wall-clock times of log rows as seconds since 1970-01-01 00:00, read as if local time were UTC,
// so that the page shows the times the log holds whatever the viewer's time zone.
#pragma once

#include <cstdint>

#include "report/log_reading.h"

int64_t days_from_civil(int year, int month, int day);
CalendarDate civil_from_days(int64_t days);
// The row `elapsed_s` after the first; from day 0 when the log's date is unknown.
int64_t wall_clock_seconds(const ReadLog& log, int64_t elapsed_s);
