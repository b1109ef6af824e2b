// What the described battery reports, written where its driver reads it: the values of the
// Parameters key of the driver's service, read anew for every request.
#pragma once

#include <windows.h>

#include <string>

struct BatteryDescription {
  // 0 leaves the slot empty: the tag request fails.
  DWORD tag = 0;
  // BATTERY_INFORMATION
  DWORD capabilities = 0;
  DWORD technology = 0;
  std::wstring chemistry;  // up to four characters of one byte each
  DWORD designed_capacity = 0;
  DWORD full_charged_capacity = 0;
  DWORD default_alert1 = 0;
  DWORD default_alert2 = 0;
  DWORD critical_bias = 0;
  DWORD cycle_count = 0;
  // The text levels; an empty text is one the battery does not give.
  std::wstring manufacture_name;
  std::wstring unique_id;
  // BATTERY_STATUS
  DWORD power_state = 0;
  DWORD capacity = 0;
  DWORD voltage = 0;
  LONG rate = 0;
};

// Writes every value of the description, one after the other: a request made meanwhile may find
// some old and some new values, the next one finds them all. Empty when all were written,
// otherwise what failed.
std::string describe_battery(const BatteryDescription& battery);
