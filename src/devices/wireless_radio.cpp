#include "devices/wireless_radio.h"

#include "common/scoped_owner.h"
#include "text/wide_text.h"

using namespace native_wifi;

namespace {

constexpr DWORD kRadioStateAnswerSize = sizeof(WLAN_RADIO_STATE);
// As many PHYs as the radio-state record holds; a driver's count beyond them is not believed.
constexpr DWORD kMaxPhys = sizeof(WLAN_RADIO_STATE::PhyRadioState) / sizeof(WLAN_PHY_RADIO_STATE);

// One Native Wi-Fi client connection, closed on every way out of a step; `result` is the open call's.
auto open_client(WlanPort& wlan, DWORD& result) {
  HANDLE handle = nullptr;
  result = open_wlan_client(wlan, handle);
  return scoped_owner<HANDLE>(handle, [&wlan](HANDLE opened) { wlan.WlanCloseHandle(opened, nullptr); });
}

// A block the Native Wi-Fi service returned, freed on every way out.
template <class T>
auto wlan_memory(WlanPort& wlan) {
  return scoped_owner<T*>(nullptr, [&wlan](T* block) { wlan.WlanFreeMemory(block); });
}

}  // namespace

DWORD open_wlan_client(WlanPort& wlan, HANDLE& client) {
  client = nullptr;
  DWORD negotiated = 0;
  HANDLE opened = nullptr;
  const DWORD result = wlan.WlanOpenHandle(kWlanClientVersion, nullptr, &negotiated, &opened);
  if (result != 0) {
    if (opened != nullptr) {
      wlan.WlanCloseHandle(opened, nullptr);
    }
    return result;
  }
  client = opened;
  return 0;
}

void find_wlan_interface(WlanPort& wlan, char16_t (&interface_text)[kInterfaceTextSize]) {
  DWORD opened = 0;
  const auto client = open_client(wlan, opened);
  if (opened != 0) {
    return;
  }
  auto list = wlan_memory<WLAN_INTERFACE_INFO_LIST>(wlan);
  if (wlan.WlanEnumInterfaces(client.get(), nullptr, list.receive()) != 0 || list.get() == nullptr) {
    return;
  }
  for (DWORD i = 0; i < list.get()->dwNumberOfItems; ++i) {
    // The RPC string is freed right after its text was copied.
    auto text = scoped_owner<char16_t*>(nullptr, [&wlan](char16_t* rpc) { wlan.RpcStringFreeW(&rpc); });
    if (wlan.UuidToStringW(&list.get()->InterfaceInfo[i].InterfaceGuid, text.receive()) != RPC_S_OK ||
        text.get() == nullptr) {
      continue;
    }
    copy_wide(interface_text, kInterfaceTextLimit + 1, text.get());
  }
}

void query_radio_state(WlanPort& wlan, const char16_t* interface_text, DOT11_RADIO_STATE& radio_state) {
  GUID interface_guid = {};
  if (wlan.UuidFromStringW(interface_text, &interface_guid) != RPC_S_OK) {
    return;
  }
  DWORD opened = 0;
  const auto client = open_client(wlan, opened);
  if (opened != 0) {
    return;
  }
  DWORD size = 0;
  auto answer = wlan_memory<void>(wlan);
  if (wlan.WlanQueryInterface(client.get(), &interface_guid, wlan_intf_opcode_radio_state, nullptr, &size,
                              answer.receive(), nullptr) != 0 ||
      answer.get() == nullptr || size != kRadioStateAnswerSize) {
    return;
  }
  const auto* answered = static_cast<const WLAN_RADIO_STATE*>(answer.get());
  if (answered->dwNumberOfPhys == 0) {
    return;  // no PHY reported: the first record holds nothing
  }
  radio_state = answered->PhyRadioState[0].dot11SoftwareRadioState;
}

void set_radio_state(WlanPort& wlan, const char16_t* interface_text, DOT11_RADIO_STATE new_state) {
  if (new_state != dot11_radio_state_on && new_state != dot11_radio_state_off) {
    return;
  }
  GUID interface_guid = {};
  if (wlan.UuidFromStringW(interface_text, &interface_guid) != RPC_S_OK) {
    return;
  }
  DWORD opened = 0;
  const auto client = open_client(wlan, opened);
  if (opened != 0) {
    return;
  }
  auto capability = wlan_memory<WLAN_INTERFACE_CAPABILITY>(wlan);
  if (wlan.WlanGetInterfaceCapability(client.get(), &interface_guid, nullptr, capability.receive()) != 0 ||
      capability.get() == nullptr) {
    return;
  }
  const DWORD supported = capability.get()->dwNumberOfSupportedPhys;
  const DWORD phys = supported < kMaxPhys ? supported : kMaxPhys;
  for (DWORD phy = 0; phy < phys; ++phy) {
    // The hardware state is the system's to report; the toggle sends only the software state.
    const WLAN_PHY_RADIO_STATE state = {phy, new_state, dot11_radio_state_unknown};
    if (wlan.WlanSetInterface(client.get(), &interface_guid, wlan_intf_opcode_radio_state, sizeof state,
                              &state, nullptr) != 0) {
      break;
    }
  }
}

int toggle_wireless_radio(WlanPort& wlan) {
  char16_t interface_text[kInterfaceTextSize] = {};
  DOT11_RADIO_STATE state = dot11_radio_state_unknown;
  find_wlan_interface(wlan, interface_text);
  if (interface_text[0] == 0) {
    return 0;
  }
  query_radio_state(wlan, interface_text, state);
  set_radio_state(wlan, interface_text,
                  state == dot11_radio_state_on ? dot11_radio_state_off : dot11_radio_state_on);
  return 0;
}
