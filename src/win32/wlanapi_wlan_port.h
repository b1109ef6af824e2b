// Native Wi-Fi from wlanapi.dll, loaded from the system directory on first use, and the RPC runtime.
#pragma once

#include "ports/wlan_port.h"
#include "win32/system_library.h"

class WlanApiWlanPort final : public WlanPort {
 public:
  DWORD WlanOpenHandle(DWORD client_version, void* reserved, DWORD* negotiated_version,
                       HANDLE* client) override;
  DWORD WlanCloseHandle(HANDLE client, void* reserved) override;
  DWORD WlanEnumInterfaces(HANDLE client, void* reserved,
                           native_wifi::WLAN_INTERFACE_INFO_LIST** list) override;
  DWORD WlanQueryInterface(HANDLE client, const GUID* interface_guid, DWORD opcode, void* reserved,
                           DWORD* data_size, void** data, int32_t* value_type) override;
  DWORD WlanGetInterfaceCapability(HANDLE client, const GUID* interface_guid, void* reserved,
                                   native_wifi::WLAN_INTERFACE_CAPABILITY** capability) override;
  DWORD WlanSetInterface(HANDLE client, const GUID* interface_guid, DWORD opcode, DWORD data_size,
                         const void* data, void* reserved) override;
  void WlanFreeMemory(void* memory) override;
  int32_t UuidToStringW(const GUID* uuid, char16_t** text) override;
  int32_t RpcStringFreeW(char16_t** text) override;
  int32_t UuidFromStringW(const char16_t* text, GUID* uuid) override;

 private:
  SystemLibrary wlanapi_{L"wlanapi.dll"};
};
