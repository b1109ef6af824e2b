#include "battery_description.h"

#include "common/scoped_owner.h"

namespace {

constexpr wchar_t kParametersKey[] = L"SYSTEM\\CurrentControlSet\\Services\\DescribedBattery\\Parameters";

LONG write_number(HKEY key, const wchar_t* name, DWORD number) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

// An empty text is removed, so that the driver answers as a battery without it.
LONG write_text(HKEY key, const wchar_t* name, const std::wstring& text) {
  if (text.empty()) {
    const LONG result = RegDeleteValueW(key, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
  }
  const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size);
}

}  // namespace

std::string describe_battery(const BatteryDescription& battery) {
  auto key = scoped_owner<HKEY>(nullptr, [](HKEY held) { RegCloseKey(held); });
  const LONG opened = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kParametersKey, 0, nullptr, 0, KEY_SET_VALUE,
                                      nullptr, key.receive(), nullptr);
  if (opened != ERROR_SUCCESS) {
    return "RegCreateKeyExW of the Parameters key failed with error " + std::to_string(opened);
  }
  const struct {
    const wchar_t* name;
    DWORD value;
  } numbers[] = {
      {L"Tag", battery.tag},
      {L"Capabilities", battery.capabilities},
      {L"Technology", battery.technology},
      {L"DesignedCapacity", battery.designed_capacity},
      {L"FullChargedCapacity", battery.full_charged_capacity},
      {L"DefaultAlert1", battery.default_alert1},
      {L"DefaultAlert2", battery.default_alert2},
      {L"CriticalBias", battery.critical_bias},
      {L"CycleCount", battery.cycle_count},
      {L"PowerState", battery.power_state},
      {L"Capacity", battery.capacity},
      {L"Voltage", battery.voltage},
      {L"Rate", static_cast<DWORD>(battery.rate)},
  };
  LONG failed = ERROR_SUCCESS;
  for (const auto& number : numbers) {
    failed = failed != ERROR_SUCCESS ? failed : write_number(key.get(), number.name, number.value);
  }
  const struct {
    const wchar_t* name;
    const std::wstring& value;
  } texts[] = {
      {L"Chemistry", battery.chemistry},
      {L"ManufactureName", battery.manufacture_name},
      {L"UniqueID", battery.unique_id},
  };
  for (const auto& text : texts) {
    failed = failed != ERROR_SUCCESS ? failed : write_text(key.get(), text.name, text.value);
  }
  return failed == ERROR_SUCCESS ? std::string()
                                 : "writing a value failed with error " + std::to_string(failed);
}
