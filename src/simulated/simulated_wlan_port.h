// The simulated laptop's Wi-Fi adapter behind the Native Wi-Fi client interface: one interface with
// two PHYs whose software radio can be switched, and the RPC runtime's GUID text conversion.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <set>

#include "ports/wlan_port.h"

// {6c9a3f2e-5b1d-4e07-9a8c-2f40d1b7e519}
constexpr GUID kSimulatedWlanInterface = {
    0x6C9A3F2E, 0x5B1D, 0x4E07, {0x9A, 0x8C, 0x2F, 0x40, 0xD1, 0xB7, 0xE5, 0x19}};
constexpr DWORD kSimulatedWlanPhys = 2;

class SimulatedWlanPort final : public WlanPort {
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

  // On while the software radio of any PHY is on.
  bool radio_on() const;
  native_wifi::DOT11_RADIO_STATE phy_state(DWORD phy) const { return software_state_.at(phy); }

  // What is still held; a caller that gives everything back leaves all three at 0.
  int open_clients() const { return static_cast<int>(clients_.size()); }
  int live_blocks() const { return static_cast<int>(blocks_.size()); }
  int live_strings() const { return static_cast<int>(strings_.size()); }
  int bad_frees() const { return bad_frees_; }

 private:
  bool is_client(HANDLE client) const { return clients_.count(client) != 0; }
  static bool is_our_interface(const GUID* interface_guid);
  // A zero-filled block of `size` bytes that the caller gives back with WlanFreeMemory.
  void* allocate_block(size_t size);

  std::array<native_wifi::DOT11_RADIO_STATE, kSimulatedWlanPhys> software_state_{
      native_wifi::dot11_radio_state_on, native_wifi::dot11_radio_state_on};
  std::set<HANDLE> clients_;
  uintptr_t next_client_ = 0x100;
  std::map<void*, std::unique_ptr<unsigned char[]>> blocks_;
  std::map<char16_t*, std::unique_ptr<char16_t[]>> strings_;
  int bad_frees_ = 0;
};
