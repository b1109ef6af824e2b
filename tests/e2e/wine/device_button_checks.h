// The "Device Setting" buttons of Chargewright.exe under Wine, which has no LCD device, no wireless
// interface and no shell to take the key chords: each press must leave the program running.
#pragma once

#include <string>

#include "check_log.h"

// Runs its own launch.
void check_device_buttons(CheckLog& log, const std::wstring& exe);
