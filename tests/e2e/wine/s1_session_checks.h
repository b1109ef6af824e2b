// The S1 logging session of Chargewright.exe, checked from outside: the button, the log file in the
// program's current directory, and Notepad showing the log at the end.
#pragma once

#include <string>

#include "check_log.h"

// Runs its own launch in a fresh temporary directory, which it removes afterwards. Takes a little
// over a minute: the first periodic row comes up to 59 one-second ticks after the start.
void check_s1_session(CheckLog& log, const std::wstring& exe);
