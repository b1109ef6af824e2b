// The Notepad window in which the program shows a finished test log.
#pragma once

#include <string>

#include "check_log.h"

// Waits for a Notepad window titled with the log's file name, checks that it is the only one, then
// closes it and checks that its process ends. `who` starts each check's text.
void check_notepad_shows(CheckLog& log, const std::string& who, const std::wstring& name);
