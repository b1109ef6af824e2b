#include "battery_device.h"

#include <newdev.h>

#include <vector>

#include "common/scoped_owner.h"
#include "common/win_types.h"

using battery_class::GUID_DEVICE_BATTERY;

namespace {

// The battery setup class has the same GUID as the battery interface class.
constexpr GUID kBatteryClass = GUID_DEVICE_BATTERY;
// The hardware id the INF's model section names, as a multi-string.
constexpr wchar_t kHardwareId[] = L"root\\described_battery\0";
// A short device name keeps the interface's path within the 63 characters the program keeps.
constexpr wchar_t kDeviceName[] = L"BATTERY";

}  // namespace

BatteryDevice::BatteryDevice(const std::wstring& inf_path) {
  set_ = SetupDiCreateDeviceInfoList(&kBatteryClass, nullptr);
  if (set_ == INVALID_HANDLE_VALUE) {
    fail("SetupDiCreateDeviceInfoList");
    return;
  }
  device_.cbSize = sizeof device_;
  if (!SetupDiCreateDeviceInfoW(set_, kDeviceName, &kBatteryClass, nullptr, nullptr, DICD_GENERATE_ID,
                                &device_)) {
    fail("SetupDiCreateDeviceInfoW");
    return;
  }
  if (!SetupDiSetDeviceRegistryPropertyW(set_, &device_, SPDRP_HARDWAREID,
                                         reinterpret_cast<const BYTE*>(kHardwareId), sizeof kHardwareId)) {
    fail("SetupDiSetDeviceRegistryPropertyW(SPDRP_HARDWAREID)");
    return;
  }
  if (!SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set_, &device_)) {
    fail("SetupDiCallClassInstaller(DIF_REGISTERDEVICE)");
    return;
  }
  registered_ = true;
  BOOL reboot = FALSE;
  if (!UpdateDriverForPlugAndPlayDevicesW(nullptr, kHardwareId, inf_path.c_str(), INSTALLFLAG_FORCE,
                                          &reboot)) {
    fail("UpdateDriverForPlugAndPlayDevicesW");
    return;
  }
  installed_ = true;
}

BatteryDevice::~BatteryDevice() {
  remove();
  if (set_ != INVALID_HANDLE_VALUE) {
    SetupDiDestroyDeviceInfoList(set_);
  }
}

bool BatteryDevice::remove() {
  if (!registered_) {
    return false;
  }
  registered_ = false;
  installed_ = false;
  const std::wstring inf_name = installed_inf_name();
  if (!SetupDiCallClassInstaller(DIF_REMOVE, set_, &device_)) {
    return fail("SetupDiCallClassInstaller(DIF_REMOVE)");
  }
  // The copy of the INF that the installation made, which no device uses any more.
  if (inf_name.empty()) {
    return fail("reading InfPath from the device's driver key");
  }
  if (!SetupUninstallOEMInfW(inf_name.c_str(), 0, nullptr)) {
    return fail("SetupUninstallOEMInfW");
  }
  return true;
}

std::wstring BatteryDevice::installed_inf_name() const {
  auto key =
      scoped_owner<HKEY>(SetupDiOpenDevRegKey(set_, const_cast<SP_DEVINFO_DATA*>(&device_), DICS_FLAG_GLOBAL,
                                              0, DIREG_DRV, KEY_QUERY_VALUE),
                         static_cast<HKEY>(INVALID_HANDLE_VALUE), [](HKEY held) { RegCloseKey(held); });
  wchar_t name[MAX_PATH] = {};
  DWORD size = sizeof name - sizeof name[0];
  if (!key.holds() || RegQueryValueExW(key.get(), L"InfPath", nullptr, nullptr, reinterpret_cast<BYTE*>(name),
                                       &size) != ERROR_SUCCESS) {
    return {};
  }
  return name;
}

bool BatteryDevice::fail(const char* step) {
  const DWORD error = GetLastError();
  char code[16];
  wsprintfA(code, "0x%08lx", error);
  failure_ = std::string(step) + " failed with error " + code;
  return false;
}

std::vector<std::wstring> battery_interface_paths() {
  std::vector<std::wstring> paths;
  auto set = scoped_owner<HDEVINFO>(
      SetupDiGetClassDevsW(&GUID_DEVICE_BATTERY, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE),
      INVALID_HANDLE_VALUE, [](HDEVINFO held) { SetupDiDestroyDeviceInfoList(held); });
  if (!set.holds()) {
    return paths;
  }
  SP_DEVICE_INTERFACE_DATA interface_data = {};
  interface_data.cbSize = sizeof interface_data;
  for (DWORD index = 0;
       SetupDiEnumDeviceInterfaces(set.get(), nullptr, &GUID_DEVICE_BATTERY, index, &interface_data);
       ++index) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(set.get(), &interface_data, nullptr, 0, &size, nullptr);
    std::vector<BYTE> buffer(size > sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) ? size : 1024);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof *detail;
    if (SetupDiGetDeviceInterfaceDetailW(set.get(), &interface_data, detail,
                                         static_cast<DWORD>(buffer.size()), nullptr, nullptr)) {
      paths.emplace_back(detail->DevicePath);
    }
  }
  return paths;
}
