#include "linux/sysfs_battery_port.h"

#include "common/guid.h"

#include <cstring>

using namespace battery_class;

namespace {

// A text answer with its terminator, refused when empty or when it does not fit: drivers never cut.
BOOL answer_text(const std::string& text, void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  const size_t bytes = (text.size() + 1) * sizeof(char16_t);
  if (text.empty() || out_buffer == nullptr || out_size < bytes) {
    return FALSE;
  }
  auto* out = static_cast<unsigned char*>(out_buffer);
  for (size_t i = 0; i <= text.size(); ++i) {
    const char16_t unit = i < text.size() ? static_cast<char16_t>(static_cast<unsigned char>(text[i])) : 0;
    std::memcpy(out + i * sizeof unit, &unit, sizeof unit);
  }
  if (bytes_returned != nullptr) {
    *bytes_returned = static_cast<DWORD>(bytes);
  }
  return TRUE;
}

template <class Record>
BOOL answer_record(const Record& record, void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  if (out_buffer == nullptr || out_size < sizeof record) {
    return FALSE;
  }
  std::memcpy(out_buffer, &record, sizeof record);
  if (bytes_returned != nullptr) {
    *bytes_returned = sizeof record;
  }
  return TRUE;
}

}  // namespace

std::u16string sysfs_battery_path(const std::string& name) {
  std::u16string path = kSysfsBatteryPathPrefix;
  for (char c : name) {
    path.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  return path;
}

void SysfsBatteryPort::read_supplies() {
  supplies_ = reader_.read();
  reading_fresh_ = true;
}

std::vector<const PowerSupply*> SysfsBatteryPort::batteries() const {
  std::vector<const PowerSupply*> found;
  for (const PowerSupply& supply : supplies_) {
    if (supply.is_battery()) {
      found.push_back(&supply);
    }
  }
  return found;
}

HDEVINFO SysfsBatteryPort::SetupDiGetClassDevsW(const GUID* class_guid, const char16_t*, HWND, DWORD flags) {
  if (!same_guid(class_guid, GUID_DEVICE_BATTERY) || (flags & DIGCF_DEVICEINTERFACE) == 0) {
    return INVALID_HANDLE_VALUE;
  }
  read_supplies();
  ++open_sets_;
  return set_token();
}

BOOL SysfsBatteryPort::SetupDiEnumDeviceInterfaces(HDEVINFO set, void*, const GUID* interface_guid,
                                                   DWORD member_index,
                                                   SP_DEVICE_INTERFACE_DATA* interface_data) {
  if (set != set_token() || open_sets_ == 0 || interface_data == nullptr ||
      interface_data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA) ||
      !same_guid(interface_guid, GUID_DEVICE_BATTERY) || member_index >= batteries().size()) {
    return FALSE;
  }
  interface_data->InterfaceClassGuid = GUID_DEVICE_BATTERY;
  interface_data->Flags = 1;  // SPINT_ACTIVE
  interface_data->Reserved = member_index;
  return TRUE;
}

BOOL SysfsBatteryPort::SetupDiGetDeviceInterfaceDetailW(HDEVINFO set,
                                                        SP_DEVICE_INTERFACE_DATA* interface_data,
                                                        SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail,
                                                        DWORD detail_size) {
  constexpr DWORD kDetailHeaderSize = 6;
  const auto found = batteries();
  if (set != set_token() || open_sets_ == 0 || interface_data == nullptr || detail == nullptr ||
      detail->cbSize != kDetailHeaderSize || interface_data->Reserved >= found.size()) {
    return FALSE;
  }
  const std::u16string path = sysfs_battery_path(found[interface_data->Reserved]->name);
  const size_t path_bytes = (path.size() + 1) * sizeof(char16_t);
  constexpr size_t path_offset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
  if (detail_size < path_offset + path_bytes) {
    return FALSE;  // ERROR_INSUFFICIENT_BUFFER
  }
  std::memcpy(reinterpret_cast<unsigned char*>(detail) + path_offset, path.c_str(), path_bytes);
  return TRUE;
}

BOOL SysfsBatteryPort::SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  if (set != set_token() || open_sets_ == 0) {
    return FALSE;
  }
  --open_sets_;
  return TRUE;
}

HANDLE SysfsBatteryPort::CreateFileW(const char16_t* path, DWORD, DWORD, DWORD creation, DWORD) {
  if (path == nullptr || creation != OPEN_EXISTING || device_open_) {
    return INVALID_HANDLE_VALUE;
  }
  // An open without a discovery just before it reads the supplies itself.
  if (!reading_fresh_) {
    read_supplies();
  }
  reading_fresh_ = false;
  const std::u16string wanted(path);
  for (const PowerSupply* battery : batteries()) {
    if (sysfs_battery_path(battery->name) == wanted) {
      opened_ = battery_figures(battery->fields, battery->alarm, line_power_online(supplies_));
      device_open_ = true;
      return device_token();
    }
  }
  return INVALID_HANDLE_VALUE;  // the pack went away, or never was: ERROR_FILE_NOT_FOUND
}

BOOL SysfsBatteryPort::CloseHandle(HANDLE handle) {
  if (handle != device_token() || !device_open_) {
    return FALSE;
  }
  device_open_ = false;
  return TRUE;
}

BOOL SysfsBatteryPort::DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                                       void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  if (bytes_returned != nullptr) {
    *bytes_returned = 0;
  }
  if (device != device_token() || !device_open_ || in_buffer == nullptr) {
    return FALSE;
  }
  switch (control_code) {
    case IOCTL_BATTERY_QUERY_TAG:
      if (in_size != sizeof(ULONG) || opened_.tag == BATTERY_TAG_INVALID) {
        return FALSE;  // an empty slot
      }
      return answer_record(opened_.tag, out_buffer, out_size, bytes_returned);
    case IOCTL_BATTERY_QUERY_INFORMATION:
      return query_information(in_buffer, in_size, out_buffer, out_size, bytes_returned);
    case IOCTL_BATTERY_QUERY_STATUS: {
      BATTERY_WAIT_STATUS wait;
      if (in_size != sizeof wait) {
        return FALSE;
      }
      std::memcpy(&wait, in_buffer, sizeof wait);
      if (wait.BatteryTag != opened_.tag || opened_.tag == BATTERY_TAG_INVALID) {
        return FALSE;
      }
      // The wait conditions are never met by a reading that has already been taken: answered at once.
      return answer_record(opened_.status, out_buffer, out_size, bytes_returned);
    }
    default:
      return FALSE;
  }
}

BOOL SysfsBatteryPort::query_information(void* in_buffer, DWORD in_size, void* out_buffer, DWORD out_size,
                                         DWORD* bytes_returned) {
  BATTERY_QUERY_INFORMATION request;
  if (in_size != sizeof request) {
    return FALSE;
  }
  std::memcpy(&request, in_buffer, sizeof request);
  if (request.BatteryTag != opened_.tag || opened_.tag == BATTERY_TAG_INVALID) {
    return FALSE;
  }
  switch (request.InformationLevel) {
    case BatteryInformation:
      return answer_record(opened_.information, out_buffer, out_size, bytes_returned);
    case BatteryManufactureName:
      return answer_text(opened_.manufacturer, out_buffer, out_size, bytes_returned);
    case BatteryUniqueID:
      return answer_text(opened_.unique_id, out_buffer, out_size, bytes_returned);
    default:
      return FALSE;
  }
}
