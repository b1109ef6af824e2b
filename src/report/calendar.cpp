#include "report/calendar.h"

// The proleptic Gregorian calendar in eras of 400 years (146097 days).
int64_t days_from_civil(int year, int month, int day) {
  const int64_t y = month <= 2 ? year - 1 : year;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t year_of_era = y - era * 400;
  const int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

CalendarDate civil_from_days(int64_t days) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t shifted_month = (5 * day_of_year + 2) / 153;
  const int day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  const int month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  const int year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

int64_t wall_clock_seconds(const ReadLog& log, int64_t elapsed_s) {
  const int64_t first = log.rows.empty() ? 0 : log.rows.front().seconds_of_day;
  int64_t day = 0;
  if (log.start_date.known()) {
    day = days_from_civil(log.start_date.year, log.start_date.month, log.start_date.day);
    // The first row is taken at the name's time or after it: a clock that reads earlier has passed
    // midnight, and the date has rolled over with it.
    if (first < log.name_seconds_of_day) {
      ++day;
    }
  }
  return day * 86400 + first + elapsed_s;
}
