// Every port the panel's procedures reach the platform through, bundled for the two hosts.
#pragma once

#include "app/dialog_port.h"
#include "battery/battery_port.h"
#include "battery_tests/log_file_port.h"
#include "devices/input_port.h"
#include "devices/lcd_port.h"
#include "devices/wlan_port.h"
#include "power/power_port.h"

struct PanelPorts {
  DialogPort& dialog;
  ClockPort& clock;
  BatteryPort& battery;
  LogFilePort& files;
  PowerPort& power;
  LcdPort& lcd;
  WlanPort& wlan;
  InputPort& input;
};
