// The baseboard's identity from the firmware tables under /sys/class/dmi/id, as the WMI-shaped port
// of the board identity query delivers it.
#pragma once

#include <memory>
#include <string>

#include "linux/sysfs_files.h"
#include "ports/wmi_port.h"
#include "posix/base_board_wmi_port.h"

constexpr const char* kDmiRoot = "/sys/class/dmi/id";

// board_vendor, board_name and board_serial; a file that cannot be read (the serial is root's
// only) leaves its field empty.
BaseBoardRecord read_dmi_board(SysfsFiles& files, const std::string& root = kDmiRoot);

// COM and WMI with one Win32_BaseBoard instance holding that record.
std::unique_ptr<WmiPort> dmi_wmi_port(SysfsFiles& files, const std::string& root = kDmiRoot);
