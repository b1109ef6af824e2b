#include "devices/wireless_radio.h"

#include "text/wide_text.h"

using namespace native_wifi;

namespace {

constexpr DWORD kRadioStateAnswerSize = sizeof(WLAN_RADIO_STATE);
// As many PHYs as the radio-state record holds; a driver's count beyond them is not believed.
constexpr DWORD kMaxPhys = sizeof(WLAN_RADIO_STATE::PhyRadioState) / sizeof(WLAN_PHY_RADIO_STATE);

// One Native Wi-Fi client connection, closed on every way out of a step.
class WlanClient {
 public:
  explicit WlanClient(WlanPort& wlan) : wlan_(wlan) { result_ = open_wlan_client(wlan_, handle_); }
  ~WlanClient() {
    if (handle_ != nullptr) {
      wlan_.WlanCloseHandle(handle_, nullptr);
    }
  }
  WlanClient(const WlanClient&) = delete;
  WlanClient& operator=(const WlanClient&) = delete;
  bool is_open() const { return result_ == 0; }
  HANDLE get() const { return handle_; }

 private:
  WlanPort& wlan_;
  HANDLE handle_ = nullptr;
  DWORD result_ = 1;
};

// A block the Native Wi-Fi service returned, freed on every way out.
template <class T>
class WlanMemory {
 public:
  explicit WlanMemory(WlanPort& wlan) : wlan_(wlan) {}
  ~WlanMemory() {
    if (block_ != nullptr) {
      wlan_.WlanFreeMemory(block_);
    }
  }
  WlanMemory(const WlanMemory&) = delete;
  WlanMemory& operator=(const WlanMemory&) = delete;
  T** receive() { return &block_; }
  T* get() const { return block_; }

 private:
  WlanPort& wlan_;
  T* block_ = nullptr;
};

// An RPC string, freed right after its text was copied.
class RpcString {
 public:
  explicit RpcString(WlanPort& wlan) : wlan_(wlan) {}
  ~RpcString() {
    if (text_ != nullptr) {
      wlan_.RpcStringFreeW(&text_);
    }
  }
  RpcString(const RpcString&) = delete;
  RpcString& operator=(const RpcString&) = delete;
  char16_t** receive() { return &text_; }
  const char16_t* get() const { return text_; }

 private:
  WlanPort& wlan_;
  char16_t* text_ = nullptr;
};

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
  WlanClient client(wlan);
  if (!client.is_open()) {
    return;
  }
  WlanMemory<WLAN_INTERFACE_INFO_LIST> list(wlan);
  if (wlan.WlanEnumInterfaces(client.get(), nullptr, list.receive()) != 0 || list.get() == nullptr) {
    return;
  }
  for (DWORD i = 0; i < list.get()->dwNumberOfItems; ++i) {
    RpcString text(wlan);
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
  WlanClient client(wlan);
  if (!client.is_open()) {
    return;
  }
  DWORD size = 0;
  WlanMemory<void> answer(wlan);
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
  WlanClient client(wlan);
  if (!client.is_open()) {
    return;
  }
  WlanMemory<WLAN_INTERFACE_CAPABILITY> capability(wlan);
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
