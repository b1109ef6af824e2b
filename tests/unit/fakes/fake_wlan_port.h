// A Native Wi-Fi service with adapters whose PHYs can be read and set, counting what is left open.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ports/wlan_port.h"

class FakeWlanPort : public WlanPort {
 public:
  struct Adapter {
    GUID guid;
    std::vector<native_wifi::DOT11_RADIO_STATE> phys;  // software state per PHY
    bool uuid_text_fails = false;
  };
  struct SetCall {
    uint32_t guid_first;
    DWORD phy;
    native_wifi::DOT11_RADIO_STATE state;
  };
  std::vector<Adapter> adapters{
      {{0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}},
       {native_wifi::dot11_radio_state_on, native_wifi::dot11_radio_state_on,
        native_wifi::dot11_radio_state_on}}};
  DWORD open_error = 0, enum_error = 0, query_error = 0, capability_error = 0;
  DWORD answer_size = sizeof(native_wifi::WLAN_RADIO_STATE);
  DWORD reported_phys_in_answer = 0xFFFFFFFF;  // as the PHY count in the radio-state answer, when set
  DWORD reported_supported_phys = 0;           // as the capability's PHY count, when set; sets beyond
                                               // the adapter's PHYs are then accepted and counted
  int refuse_phy = -1;
  bool open_leaves_handle_on_failure = false;
  std::vector<SetCall> sets;
  int live_handles = 0, live_blocks = 0, live_strings = 0, opens = 0;

  DWORD WlanOpenHandle(DWORD version, void* reserved, DWORD* negotiated, HANDLE* client) override {
    ++opens;
    if (version != 2 || reserved != nullptr || negotiated == nullptr) {
      return 87;
    }
    if (open_error != 0) {
      if (open_leaves_handle_on_failure) {
        ++live_handles;
        *client = this;
      }
      return open_error;
    }
    ++live_handles;
    *negotiated = 2;
    *client = this;
    return 0;
  }
  DWORD WlanCloseHandle(HANDLE, void*) override {
    --live_handles;
    return 0;
  }
  DWORD WlanEnumInterfaces(HANDLE, void*, native_wifi::WLAN_INTERFACE_INFO_LIST** list) override {
    if (enum_error != 0) {
      return enum_error;
    }
    const size_t size = offsetof(native_wifi::WLAN_INTERFACE_INFO_LIST, InterfaceInfo) +
                        (adapters.empty() ? 1 : adapters.size()) * sizeof(native_wifi::WLAN_INTERFACE_INFO);
    auto* block = static_cast<native_wifi::WLAN_INTERFACE_INFO_LIST*>(allocate(size));
    block->dwNumberOfItems = static_cast<DWORD>(adapters.size());
    for (size_t i = 0; i < adapters.size(); ++i) {
      block->InterfaceInfo[i].InterfaceGuid = adapters[i].guid;
    }
    *list = block;
    return 0;
  }
  DWORD WlanQueryInterface(HANDLE, const GUID* guid, DWORD opcode, void*, DWORD* size, void** data,
                           int32_t* value_type) override {
    Adapter* adapter = find(guid);
    if (query_error != 0 || adapter == nullptr || opcode != 4 || value_type != nullptr) {
      return query_error != 0 ? query_error : 87;
    }
    auto* answer =
        static_cast<native_wifi::WLAN_RADIO_STATE*>(allocate(sizeof(native_wifi::WLAN_RADIO_STATE)));
    answer->dwNumberOfPhys = reported_phys_in_answer != 0xFFFFFFFF ? reported_phys_in_answer
                                                                   : static_cast<DWORD>(adapter->phys.size());
    for (size_t i = 0; i < adapter->phys.size() && i < 64; ++i) {
      answer->PhyRadioState[i] = {static_cast<DWORD>(i), adapter->phys[i], native_wifi::dot11_radio_state_on};
    }
    *size = answer_size;
    *data = answer;
    return 0;
  }
  DWORD WlanGetInterfaceCapability(HANDLE, const GUID* guid, void*,
                                   native_wifi::WLAN_INTERFACE_CAPABILITY** capability) override {
    Adapter* adapter = find(guid);
    if (capability_error != 0 || adapter == nullptr) {
      return capability_error != 0 ? capability_error : 87;
    }
    auto* block = static_cast<native_wifi::WLAN_INTERFACE_CAPABILITY*>(
        allocate(sizeof(native_wifi::WLAN_INTERFACE_CAPABILITY)));
    block->dwNumberOfSupportedPhys =
        reported_supported_phys != 0 ? reported_supported_phys : static_cast<DWORD>(adapter->phys.size());
    *capability = block;
    return 0;
  }
  DWORD WlanSetInterface(HANDLE, const GUID* guid, DWORD opcode, DWORD size, const void* data,
                         void*) override {
    Adapter* adapter = find(guid);
    if (adapter == nullptr || opcode != 4 || size != 12) {
      return 87;
    }
    native_wifi::WLAN_PHY_RADIO_STATE state;
    std::memcpy(&state, data, sizeof state);
    sets.push_back({guid->Data1, state.dwPhyIndex, state.dot11SoftwareRadioState});
    if (static_cast<int>(state.dwPhyIndex) == refuse_phy) {
      return 5;
    }
    if (state.dwPhyIndex < adapter->phys.size()) {
      adapter->phys[state.dwPhyIndex] = state.dot11SoftwareRadioState;
    } else if (reported_supported_phys == 0 || sets.size() > 100) {
      return 87;  // a PHY the adapter does not have; a runaway loop ends here
    }
    return 0;
  }
  void WlanFreeMemory(void* memory) override {
    --live_blocks;
    std::free(memory);
  }
  int32_t UuidToStringW(const GUID* uuid, char16_t** text) override {
    for (const Adapter& adapter : adapters) {
      if (std::memcmp(&adapter.guid, uuid, sizeof(GUID)) == 0 && adapter.uuid_text_fails) {
        return 14;  // RPC_S_OUT_OF_MEMORY
      }
    }
    // The first group only: enough for the fake to find the adapter again.
    const std::u16string digits = hex(uuid->Data1) + u"-2222-3333-4444-555555555555";
    auto* copy = static_cast<char16_t*>(std::calloc(digits.size() + 1, sizeof(char16_t)));
    std::copy(digits.begin(), digits.end(), copy);
    ++live_strings;
    *text = copy;
    return 0;
  }
  int32_t RpcStringFreeW(char16_t** text) override {
    --live_strings;
    std::free(*text);
    *text = nullptr;
    return 0;
  }
  int32_t UuidFromStringW(const char16_t* text, GUID* uuid) override {
    for (const Adapter& adapter : adapters) {
      if (hex(adapter.guid.Data1) == std::u16string(text, 8) && text[8] == u'-') {
        *uuid = adapter.guid;
        return 0;
      }
    }
    return 1705;  // RPC_S_INVALID_STRING_UUID
  }

 private:
  void* allocate(size_t size) {
    ++live_blocks;
    return std::calloc(1, size);
  }
  Adapter* find(const GUID* guid) {
    for (Adapter& adapter : adapters) {
      if (std::memcmp(&adapter.guid, guid, sizeof(GUID)) == 0) {
        return &adapter;
      }
    }
    return nullptr;
  }
  static std::u16string hex(uint32_t value) {
    const char16_t digits[] = u"0123456789abcdef";
    std::u16string text;
    for (int shift = 28; shift >= 0; shift -= 4) {
      text += digits[(value >> shift) & 0xF];
    }
    return text;
  }
};
