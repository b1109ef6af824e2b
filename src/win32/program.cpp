#include "win32/program.h"

#include "win32/local_clock_port.h"
#include "win32/setupapi_battery_port.h"
#include "win32/user32_dialog_port.h"
#include "win32/win32_input_port.h"
#include "win32/win32_lcd_port.h"
#include "win32/win32_log_file_port.h"
#include "win32/win32_power_port.h"
#include "win32/win32_wlan_port.h"
#include "win32/win32_wmi_port.h"

namespace {
User32DialogPort dialog_port;
LocalClockPort clock_port;
SetupApiBatteryPort battery_port;
Win32LogFilePort log_file_port;
Win32PowerPort power_port;
Win32LcdPort lcd_port;
Win32WlanPort wlan_port;
Win32InputPort input_port;
Win32WmiPort wmi_port;
}  // namespace

PanelState program_state;
const PanelPorts program_ports{dialog_port, clock_port, battery_port, log_file_port,
                               power_port,  lcd_port,   wlan_port,    input_port};
WmiPort& program_wmi = wmi_port;
