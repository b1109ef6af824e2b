// "Wireless": switch the wireless adapter's software radio off when it is on, on otherwise.
#pragma once

#include "ports/wlan_port.h"

constexpr size_t kInterfaceTextSize = 128;
constexpr size_t kInterfaceTextLimit = 64;  // characters copied from the GUID text

int toggle_wireless_radio(WlanPort& wlan);
// WlanOpenHandle's result; on success `client` is the caller's to close, otherwise null.
DWORD open_wlan_client(WlanPort& wlan, HANDLE& client);
// The GUID text of the last interface enumerated; `interface_text` unchanged when there is none.
void find_wlan_interface(WlanPort& wlan, char16_t (&interface_text)[kInterfaceTextSize]);
// The first PHY's software radio state; `radio_state` unchanged when the query fails or reports no PHY.
void query_radio_state(WlanPort& wlan, const char16_t* interface_text,
                       native_wifi::DOT11_RADIO_STATE& radio_state);
// Sets every PHY in index order, at most 64, stopping at the first refusal; only for on (1) and off (2).
void set_radio_state(WlanPort& wlan, const char16_t* interface_text,
                     native_wifi::DOT11_RADIO_STATE new_state);
