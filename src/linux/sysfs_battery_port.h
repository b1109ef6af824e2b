// The battery class driver over /sys/class/power_supply: one battery interface per system battery,
// opened by its device path. Discovery reads every supply once; the open that follows answers the
// whole query from that reading, so a query costs one read of each supply's uevent, held open.
#pragma once

#include <string>
#include <vector>

#include "linux/battery_figures.h"
#include "linux/power_supplies.h"
#include "linux/power_supply_reader.h"
#include "ports/battery_port.h"

// What the interface path of a battery starts with; the supply's name follows.
constexpr char16_t kSysfsBatteryPathPrefix[] = u"\\\\?\\power_supply\\";

class SysfsBatteryPort final : public BatteryPort {
 public:
  SysfsBatteryPort(SysfsFiles& files, std::string root = kPowerSupplyRoot)
      : reader_(files, std::move(root)) {}

  // Whether supplies_changed() is called when supplies come or go (the uevent monitor runs); until
  // then every query lists the folder again.
  void set_told_of_supply_changes(bool told) { reader_.set_told_of_changes(told); }
  // Supplies came or went, or the panel is about to read the static information again.
  void supplies_changed() { reader_.relist(); }

  HDEVINFO SetupDiGetClassDevsW(const GUID* class_guid, const char16_t* enumerator, HWND parent,
                                DWORD flags) override;
  BOOL SetupDiEnumDeviceInterfaces(HDEVINFO set, void* device_info, const GUID* interface_guid,
                                   DWORD member_index, SP_DEVICE_INTERFACE_DATA* interface_data) override;
  BOOL SetupDiGetDeviceInterfaceDetailW(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* interface_data,
                                        SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail,
                                        DWORD detail_size) override;
  BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) override;
  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                     DWORD attributes) override;
  BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size, void* out_buffer,
                       DWORD out_size, DWORD* bytes_returned) override;
  BOOL CloseHandle(HANDLE handle) override;

  // From the last reading: the supplies as read, and whether the machine ran on line power.
  const std::vector<PowerSupply>& supplies() const { return supplies_; }
  bool ac_on_line() const { return line_power_online(supplies_); }
  int open_device_sets() const { return open_sets_; }
  bool device_open() const { return device_open_; }

 private:
  void read_supplies();
  std::vector<const PowerSupply*> batteries() const;
  BOOL query_information(void* in_buffer, DWORD in_size, void* out_buffer, DWORD out_size,
                         DWORD* bytes_returned);

  HDEVINFO set_token() { return &set_marker_; }
  HANDLE device_token() { return &device_marker_; }

  PowerSupplyReader reader_;
  std::vector<PowerSupply> supplies_;
  bool reading_fresh_ = false;  // not yet used by an open
  BatteryFigures opened_;
  int open_sets_ = 0;
  bool device_open_ = false;
  char set_marker_ = 0;
  char device_marker_ = 0;
};

// The device path of the battery `name`, as discovery hands it out.
std::u16string sysfs_battery_path(const std::string& name);
