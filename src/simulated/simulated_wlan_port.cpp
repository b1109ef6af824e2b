#include "simulated/simulated_wlan_port.h"

#include <cstring>
#include <new>

#include "posix/uuid_text.h"

using namespace native_wifi;

namespace {

constexpr DWORD kNegotiatedVersion = 2;
constexpr char16_t kDescription[] = u"Chargewright Simulated Wireless Adapter";
constexpr int32_t kInterfaceConnected = 1;   // wlan_interface_state_connected
constexpr int32_t kPhyTypeOfdm = 4;          // dot11_phy_type_ofdm (802.11a)
constexpr int32_t kPhyTypeHt = 7;            // dot11_phy_type_ht (802.11n)
constexpr int32_t kInterfaceTypeNative = 1;  // wlan_interface_type_native_802_11

}  // namespace

bool SimulatedWlanPort::is_our_interface(const GUID* interface_guid) {
  return interface_guid != nullptr &&
         std::memcmp(interface_guid, &kSimulatedWlanInterface, sizeof kSimulatedWlanInterface) == 0;
}

void* SimulatedWlanPort::allocate_block(size_t size) {
  auto block = std::make_unique<unsigned char[]>(size);  // zero-filled
  void* address = block.get();
  blocks_.emplace(address, std::move(block));
  return address;
}

bool SimulatedWlanPort::radio_on() const {
  for (const DOT11_RADIO_STATE state : software_state_) {
    if (state == dot11_radio_state_on) {
      return true;
    }
  }
  return false;
}

DWORD SimulatedWlanPort::WlanOpenHandle(DWORD client_version, void* reserved, DWORD* negotiated_version,
                                        HANDLE* client) {
  if (reserved != nullptr || negotiated_version == nullptr || client == nullptr ||
      (client_version != 1 && client_version != 2)) {
    return ERROR_INVALID_PARAMETER;
  }
  next_client_ += 4;
  *client = reinterpret_cast<HANDLE>(next_client_);
  *negotiated_version = kNegotiatedVersion;
  clients_.insert(*client);
  return 0;
}

DWORD SimulatedWlanPort::WlanCloseHandle(HANDLE client, void* reserved) {
  if (reserved != nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  return clients_.erase(client) == 1 ? 0 : ERROR_INVALID_HANDLE;
}

DWORD SimulatedWlanPort::WlanEnumInterfaces(HANDLE client, void* reserved, WLAN_INTERFACE_INFO_LIST** list) {
  if (list == nullptr || reserved != nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (!is_client(client)) {
    return ERROR_INVALID_HANDLE;
  }
  auto* answer = new (allocate_block(sizeof(WLAN_INTERFACE_INFO_LIST))) WLAN_INTERFACE_INFO_LIST{};
  answer->dwNumberOfItems = 1;
  answer->dwIndex = 0;
  answer->InterfaceInfo[0].InterfaceGuid = kSimulatedWlanInterface;
  std::memcpy(answer->InterfaceInfo[0].strInterfaceDescription, kDescription, sizeof kDescription);
  answer->InterfaceInfo[0].isState = kInterfaceConnected;
  *list = answer;
  return 0;
}

DWORD SimulatedWlanPort::WlanQueryInterface(HANDLE client, const GUID* interface_guid, DWORD opcode,
                                            void* reserved, DWORD* data_size, void** data,
                                            int32_t* value_type) {
  if (reserved != nullptr || data_size == nullptr || data == nullptr || !is_our_interface(interface_guid)) {
    return ERROR_INVALID_PARAMETER;
  }
  if (!is_client(client)) {
    return ERROR_INVALID_HANDLE;
  }
  if (opcode != wlan_intf_opcode_radio_state) {
    return ERROR_NOT_SUPPORTED;  // the one query this adapter answers
  }
  auto* answer = new (allocate_block(sizeof(WLAN_RADIO_STATE))) WLAN_RADIO_STATE{};
  answer->dwNumberOfPhys = kSimulatedWlanPhys;
  for (DWORD phy = 0; phy < kSimulatedWlanPhys; ++phy) {
    answer->PhyRadioState[phy] = {phy, software_state_[phy], dot11_radio_state_on};
  }
  *data_size = sizeof(WLAN_RADIO_STATE);
  *data = answer;
  if (value_type != nullptr) {
    *value_type = 0;  // wlan_opcode_value_type_query_only
  }
  return 0;
}

DWORD SimulatedWlanPort::WlanGetInterfaceCapability(HANDLE client, const GUID* interface_guid, void* reserved,
                                                    WLAN_INTERFACE_CAPABILITY** capability) {
  if (reserved != nullptr || capability == nullptr || !is_our_interface(interface_guid)) {
    return ERROR_INVALID_PARAMETER;
  }
  if (!is_client(client)) {
    return ERROR_INVALID_HANDLE;
  }
  auto* answer = new (allocate_block(sizeof(WLAN_INTERFACE_CAPABILITY))) WLAN_INTERFACE_CAPABILITY{};
  answer->interfaceType = kInterfaceTypeNative;
  answer->bDot11DSupported = TRUE;
  answer->dwMaxDesiredSsidListSize = 4;
  answer->dwMaxDesiredBssidListSize = 8;
  answer->dwNumberOfSupportedPhys = kSimulatedWlanPhys;
  answer->dot11PhyTypes[0] = kPhyTypeOfdm;
  answer->dot11PhyTypes[1] = kPhyTypeHt;
  *capability = answer;
  return 0;
}

DWORD SimulatedWlanPort::WlanSetInterface(HANDLE client, const GUID* interface_guid, DWORD opcode,
                                          DWORD data_size, const void* data, void* reserved) {
  if (reserved != nullptr || data == nullptr || !is_our_interface(interface_guid)) {
    return ERROR_INVALID_PARAMETER;
  }
  if (!is_client(client)) {
    return ERROR_INVALID_HANDLE;
  }
  if (opcode != wlan_intf_opcode_radio_state) {
    return ERROR_NOT_SUPPORTED;
  }
  if (data_size != sizeof(WLAN_PHY_RADIO_STATE)) {
    return ERROR_INVALID_PARAMETER;
  }
  WLAN_PHY_RADIO_STATE request{};
  std::memcpy(&request, data, sizeof request);
  if (request.dwPhyIndex >= kSimulatedWlanPhys ||
      (request.dot11SoftwareRadioState != dot11_radio_state_on &&
       request.dot11SoftwareRadioState != dot11_radio_state_off)) {
    return ERROR_INVALID_PARAMETER;
  }
  software_state_[request.dwPhyIndex] = request.dot11SoftwareRadioState;
  return 0;
}

void SimulatedWlanPort::WlanFreeMemory(void* memory) {
  if (memory != nullptr && blocks_.erase(memory) != 1) {
    ++bad_frees_;
  }
}

int32_t SimulatedWlanPort::UuidToStringW(const GUID* uuid, char16_t** text) {
  if (uuid == nullptr || text == nullptr) {
    return kRpcInvalidStringUuid;
  }
  const std::u16string converted = uuid_to_text(*uuid);
  auto copy = std::make_unique<char16_t[]>(converted.size() + 1);
  std::memcpy(copy.get(), converted.c_str(), (converted.size() + 1) * sizeof(char16_t));
  *text = copy.get();
  strings_.emplace(copy.get(), std::move(copy));
  return RPC_S_OK;
}

int32_t SimulatedWlanPort::RpcStringFreeW(char16_t** text) {
  if (text == nullptr) {
    return kRpcInvalidStringUuid;
  }
  if (*text != nullptr && strings_.erase(*text) != 1) {
    ++bad_frees_;
  }
  *text = nullptr;
  return RPC_S_OK;
}

int32_t SimulatedWlanPort::UuidFromStringW(const char16_t* text, GUID* uuid) {
  return uuid_from_string(text, uuid);
}
