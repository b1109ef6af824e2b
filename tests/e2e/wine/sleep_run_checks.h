// The S3 and S4 tests of Chargewright.exe under Wine, whose SetSuspendState suspends nothing and
// returns at once: the log with its first row, the row a power broadcast adds, Notepad, and the
// resume timer path. Never presses S5, which would end the Wine session.
#pragma once

#include <string>

#include "check_log.h"

// Runs its own launch in a fresh temporary directory, which it removes afterwards.
void check_sleep_tests(CheckLog& log, const std::wstring& exe);
