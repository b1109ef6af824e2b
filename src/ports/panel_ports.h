// Every port the panel's procedures reach the platform through, bundled for the two hosts.
#pragma once

#include "ports/battery_port.h"
#include "ports/clock_port.h"
#include "ports/dialog_port.h"
#include "ports/input_port.h"
#include "ports/lcd_port.h"
#include "ports/log_file_port.h"
#include "ports/power_port.h"
#include "ports/wlan_port.h"

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
