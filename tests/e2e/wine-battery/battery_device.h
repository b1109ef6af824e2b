// The described battery as a device of the Wine prefix: a root-enumerated device that gets the
// battery driver from its INF, installed the way a device installer does it, and removed again.
#pragma once

#include <windows.h>

#include <setupapi.h>

#include <string>
#include <vector>

class BatteryDevice {
 public:
  // Creates the device ROOT\BATTERY\nnnn with the INF's hardware id and installs the INF's driver
  // for it, which starts the driver.
  explicit BatteryDevice(const std::wstring& inf_path);
  // Removes the device if it is still there.
  ~BatteryDevice();
  BatteryDevice(const BatteryDevice&) = delete;
  BatteryDevice& operator=(const BatteryDevice&) = delete;

  bool installed() const { return installed_; }
  // The step that failed and its error code; empty while nothing failed.
  const std::string& failure() const { return failure_; }
  // Removes the device, so that its driver stops and its battery interface goes away, and then
  // the copy of the INF that the installation made.
  bool remove();

 private:
  bool fail(const char* step);
  // The name of the installed copy of the INF ("oemN.inf"); empty when it cannot be read.
  std::wstring installed_inf_name() const;

  HDEVINFO set_ = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA device_ = {};
  bool registered_ = false;
  bool installed_ = false;
  std::string failure_;
};

// The device paths of the present battery interfaces, as a program enumerating them sees them.
std::vector<std::wstring> battery_interface_paths();
