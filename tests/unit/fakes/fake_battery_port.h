// A battery class driver in memory: batteries that answer, fail or vanish as a test sets them up.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "ports/battery_port.h"

struct FakeBattery {
  std::u16string path = u"\\\\?\\acpi#pnp0c0a#1#{72631e54-78a4-11d0-bcf7-00aa00b7b32a}";
  ULONG tag = 7;
  battery_class::BATTERY_INFORMATION info = {0x80000000, 1, {}, {'L', 'I', 'O', 'N'}, 57000, 52000, 1560,
                                             2600,       0, 42};
  std::u16string manufacturer = u"Simulated";
  std::u16string unique_id = u"CW-0001";
  battery_class::BATTERY_STATUS status = {battery_class::BATTERY_DISCHARGING, 41000, 11800, -12000};
  bool fail_open = false;
  bool fail_tag = false;
  bool fail_information = false;
  bool fail_manufacturer = false;
  bool fail_unique_id = false;
  bool fail_status = false;
};

class FakeBatteryPort : public BatteryPort {
 public:
  std::vector<FakeBattery> batteries{FakeBattery{}};
  bool fail_class_devs = false;
  bool fail_detail = false;

  // What the query asked for, to check request blocks and orders.
  std::vector<DWORD> control_codes;
  std::vector<battery_class::BATTERY_QUERY_INFORMATION> information_requests;
  std::vector<DWORD> information_out_sizes;
  battery_class::BATTERY_WAIT_STATUS last_wait = {};
  ULONG last_tag_wait_time = 99;
  DWORD last_access = 0, last_share = 99, last_creation = 0, last_attributes = 0;
  std::u16string last_open_path;
  int open_handles = 0;
  int destroyed_sets = 0;
  int created_sets = 0;

  HDEVINFO SetupDiGetClassDevsW(const GUID* guid, const char16_t* enumerator, HWND, DWORD flags) override {
    if (fail_class_devs || enumerator != nullptr || flags != 0x12 ||
        std::memcmp(guid, &battery_class::GUID_DEVICE_BATTERY, sizeof(GUID)) != 0) {
      return INVALID_HANDLE_VALUE;
    }
    ++created_sets;
    return &set_token_;
  }
  BOOL SetupDiEnumDeviceInterfaces(HDEVINFO set, void*, const GUID*, DWORD index,
                                   SP_DEVICE_INTERFACE_DATA* data) override {
    if (set != &set_token_ || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA) || index >= batteries.size()) {
      return FALSE;
    }
    data->Flags = index;  // remembered for the detail request
    return TRUE;
  }
  BOOL SetupDiGetDeviceInterfaceDetailW(HDEVINFO, SP_DEVICE_INTERFACE_DATA* data,
                                        SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail, DWORD size) override {
    if (fail_detail || detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) || size != 1024) {
      return FALSE;
    }
    const std::u16string& path = batteries[data->Flags].path;
    const size_t bytes = (path.size() + 1) * sizeof(char16_t);
    if (4 + bytes > size) {
      return FALSE;
    }
    std::memcpy(reinterpret_cast<unsigned char*>(detail) + 4, path.c_str(), bytes);
    return TRUE;
  }
  BOOL SetupDiDestroyDeviceInfoList(HDEVINFO) override {
    ++destroyed_sets;
    return TRUE;
  }
  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share, DWORD creation,
                     DWORD attributes) override {
    last_open_path = path;
    last_access = access;
    last_share = share;
    last_creation = creation;
    last_attributes = attributes;
    for (FakeBattery& battery : batteries) {
      if (battery.path == path && !battery.fail_open) {
        ++open_handles;
        return &battery;
      }
    }
    return INVALID_HANDLE_VALUE;
  }
  BOOL DeviceIoControl(HANDLE device, DWORD code, void* in, DWORD in_size, void* out, DWORD out_size,
                       DWORD* returned) override {
    using namespace battery_class;
    control_codes.push_back(code);
    FakeBattery& battery = *static_cast<FakeBattery*>(device);
    switch (code) {
      case IOCTL_BATTERY_QUERY_TAG:
        if (in_size != 4 || out_size != 4 || battery.fail_tag) {
          return FALSE;
        }
        std::memcpy(&last_tag_wait_time, in, 4);
        std::memcpy(out, &battery.tag, 4);
        *returned = 4;
        return TRUE;
      case IOCTL_BATTERY_QUERY_INFORMATION: {
        if (in_size != sizeof(BATTERY_QUERY_INFORMATION)) {
          return FALSE;
        }
        BATTERY_QUERY_INFORMATION request;
        std::memcpy(&request, in, sizeof request);
        information_requests.push_back(request);
        information_out_sizes.push_back(out_size);
        if (request.BatteryTag != battery.tag) {
          return FALSE;
        }
        if (request.InformationLevel == BatteryInformation) {
          if (battery.fail_information || out_size != sizeof(BATTERY_INFORMATION)) {
            return FALSE;
          }
          std::memcpy(out, &battery.info, sizeof battery.info);
          return TRUE;
        }
        if (request.InformationLevel == BatteryManufactureName) {
          return !battery.fail_manufacturer && copy_text(battery.manufacturer, out, out_size);
        }
        if (request.InformationLevel == BatteryUniqueID) {
          return !battery.fail_unique_id && copy_text(battery.unique_id, out, out_size);
        }
        return FALSE;
      }
      case IOCTL_BATTERY_QUERY_STATUS:
        if (in_size != sizeof(BATTERY_WAIT_STATUS) || out_size != sizeof(BATTERY_STATUS)) {
          return FALSE;
        }
        std::memcpy(&last_wait, in, sizeof last_wait);
        if (battery.fail_status || last_wait.BatteryTag != battery.tag) {
          return FALSE;
        }
        std::memcpy(out, &battery.status, sizeof battery.status);
        return TRUE;
    }
    return FALSE;
  }
  BOOL CloseHandle(HANDLE) override {
    --open_handles;
    return TRUE;
  }

 private:
  // Like a driver: fails when the buffer is too small for the whole text and its terminator,
  // except that an exactly fitting text without room for the terminator is written unterminated.
  static BOOL copy_text(const std::u16string& text, void* out, DWORD out_size) {
    const size_t bytes = text.size() * sizeof(char16_t);
    if (bytes > out_size) {
      return FALSE;
    }
    std::memcpy(out, text.data(), bytes);
    if (bytes + 2 <= out_size) {
      std::memset(static_cast<unsigned char*>(out) + bytes, 0, 2);
    }
    return TRUE;
  }
  int set_token_ = 0;
};
