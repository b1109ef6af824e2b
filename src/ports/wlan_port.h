// The Native Wi-Fi client interface and the RPC runtime's GUID text conversion.
#pragma once

#include "common/win_types.h"

// The records the radio toggle exchanges, declared here for every platform: the program loads
// wlanapi.dll at run time and needs its layouts, not its import library.
namespace native_wifi {

enum DOT11_RADIO_STATE : int32_t {
  dot11_radio_state_unknown = 0,
  dot11_radio_state_on = 1,
  dot11_radio_state_off = 2,
};

constexpr DWORD wlan_intf_opcode_radio_state = 4;
constexpr DWORD kWlanClientVersion = 2;
#ifndef RPC_S_OK  // the SDK's macro, once <rpc.h> is in
constexpr int32_t RPC_S_OK = 0;
#endif

struct WLAN_PHY_RADIO_STATE {
  DWORD dwPhyIndex;
  DOT11_RADIO_STATE dot11SoftwareRadioState;
  DOT11_RADIO_STATE dot11HardwareRadioState;
};

struct WLAN_RADIO_STATE {
  DWORD dwNumberOfPhys;
  WLAN_PHY_RADIO_STATE PhyRadioState[64];
};

struct WLAN_INTERFACE_INFO {
  GUID InterfaceGuid;
  WCHAR strInterfaceDescription[256];
  int32_t isState;
};

struct WLAN_INTERFACE_INFO_LIST {
  DWORD dwNumberOfItems;
  DWORD dwIndex;
  WLAN_INTERFACE_INFO InterfaceInfo[1];
};

struct WLAN_INTERFACE_CAPABILITY {
  int32_t interfaceType;
  BOOL bDot11DSupported;
  DWORD dwMaxDesiredSsidListSize;
  DWORD dwMaxDesiredBssidListSize;
  DWORD dwNumberOfSupportedPhys;
  int32_t dot11PhyTypes[64];
};

static_assert(sizeof(WLAN_PHY_RADIO_STATE) == 12);
static_assert(sizeof(WLAN_RADIO_STATE) == 772);
static_assert(sizeof(WLAN_INTERFACE_INFO) == 532);
static_assert(offsetof(WLAN_INTERFACE_INFO_LIST, InterfaceInfo) == 8);
static_assert(sizeof(WLAN_INTERFACE_CAPABILITY) == 276);

}  // namespace native_wifi

class WlanPort {
 public:
  virtual ~WlanPort() = default;
  virtual DWORD WlanOpenHandle(DWORD client_version, void* reserved, DWORD* negotiated_version,
                               HANDLE* client) = 0;
  virtual DWORD WlanCloseHandle(HANDLE client, void* reserved) = 0;
  virtual DWORD WlanEnumInterfaces(HANDLE client, void* reserved,
                                   native_wifi::WLAN_INTERFACE_INFO_LIST** list) = 0;
  virtual DWORD WlanQueryInterface(HANDLE client, const GUID* interface_guid, DWORD opcode, void* reserved,
                                   DWORD* data_size, void** data, int32_t* value_type) = 0;
  virtual DWORD WlanGetInterfaceCapability(HANDLE client, const GUID* interface_guid, void* reserved,
                                           native_wifi::WLAN_INTERFACE_CAPABILITY** capability) = 0;
  virtual DWORD WlanSetInterface(HANDLE client, const GUID* interface_guid, DWORD opcode, DWORD data_size,
                                 const void* data, void* reserved) = 0;
  virtual void WlanFreeMemory(void* memory) = 0;
  virtual int32_t UuidToStringW(const GUID* uuid, char16_t** text) = 0;
  virtual int32_t RpcStringFreeW(char16_t** text) = 0;
  virtual int32_t UuidFromStringW(const char16_t* text, GUID* uuid) = 0;
};
