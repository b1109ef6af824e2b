#include "win32/program.h"

#include "win32/com_wmi_port.h"
#include "win32/device_io_control_lcd_port.h"
#include "win32/file_api_log_file_port.h"
#include "win32/local_clock_port.h"
#include "win32/powrprof_power_port.h"
#include "win32/send_input_port.h"
#include "win32/setupapi_battery_port.h"
#include "win32/user32_dialog_port.h"
#include "win32/wlanapi_wlan_port.h"

namespace {
User32DialogPort dialog_port;
LocalClockPort clock_port;
SetupApiBatteryPort battery_port;
FileApiLogFilePort log_file_port;
PowrProfPowerPort power_port;
DeviceIoControlLcdPort lcd_port;
WlanApiWlanPort wlan_port;
SendInputPort input_port;
ComWmiPort wmi_port;
}  // namespace

PanelState program_state;
const PanelPorts program_ports{dialog_port, clock_port, battery_port, log_file_port,
                               power_port,  lcd_port,   wlan_port,    input_port};
WmiPort& program_wmi = wmi_port;
