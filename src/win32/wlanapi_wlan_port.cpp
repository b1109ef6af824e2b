#include "win32/wlanapi_wlan_port.h"

#include <rpc.h>

#include "win32/wide_cast.h"

// wlanapi.dll is not one of Windows' known DLLs: it is looked up at run time in the system directory,
// never beside the program. The signatures are Wlanapi's, with the record layouts of wlan_port.h.
namespace {

using native_wifi::WLAN_INTERFACE_CAPABILITY;
using native_wifi::WLAN_INTERFACE_INFO_LIST;

using OpenHandle = DWORD WINAPI(DWORD, void*, DWORD*, HANDLE*);
using CloseClient = DWORD WINAPI(HANDLE, void*);
using EnumInterfaces = DWORD WINAPI(HANDLE, void*, WLAN_INTERFACE_INFO_LIST**);
using QueryInterface = DWORD WINAPI(HANDLE, const GUID*, DWORD, void*, DWORD*, void**, int32_t*);
using GetInterfaceCapability = DWORD WINAPI(HANDLE, const GUID*, void*, WLAN_INTERFACE_CAPABILITY**);
using SetInterface = DWORD WINAPI(HANDLE, const GUID*, DWORD, DWORD, const void*, void*);
using FreeMemory = void WINAPI(void*);

}  // namespace

DWORD WlanApiWlanPort::WlanOpenHandle(DWORD client_version, void* reserved, DWORD* negotiated_version,
                                      HANDLE* client) {
  auto* open = wlanapi_.function<OpenHandle>("WlanOpenHandle");
  return open == nullptr ? ERROR_SERVICE_NOT_ACTIVE
                         : open(client_version, reserved, negotiated_version, client);
}

DWORD WlanApiWlanPort::WlanCloseHandle(HANDLE client, void* reserved) {
  auto* close = wlanapi_.function<CloseClient>("WlanCloseHandle");
  return close == nullptr ? ERROR_INVALID_HANDLE : close(client, reserved);
}

DWORD WlanApiWlanPort::WlanEnumInterfaces(HANDLE client, void* reserved, WLAN_INTERFACE_INFO_LIST** list) {
  auto* enumerate = wlanapi_.function<EnumInterfaces>("WlanEnumInterfaces");
  return enumerate == nullptr ? ERROR_INVALID_HANDLE : enumerate(client, reserved, list);
}

DWORD WlanApiWlanPort::WlanQueryInterface(HANDLE client, const GUID* interface_guid, DWORD opcode,
                                          void* reserved, DWORD* data_size, void** data,
                                          int32_t* value_type) {
  auto* query = wlanapi_.function<QueryInterface>("WlanQueryInterface");
  return query == nullptr ? ERROR_INVALID_HANDLE
                          : query(client, interface_guid, opcode, reserved, data_size, data, value_type);
}

DWORD WlanApiWlanPort::WlanGetInterfaceCapability(HANDLE client, const GUID* interface_guid, void* reserved,
                                                  WLAN_INTERFACE_CAPABILITY** capability) {
  auto* get = wlanapi_.function<GetInterfaceCapability>("WlanGetInterfaceCapability");
  return get == nullptr ? ERROR_INVALID_HANDLE : get(client, interface_guid, reserved, capability);
}

DWORD WlanApiWlanPort::WlanSetInterface(HANDLE client, const GUID* interface_guid, DWORD opcode,
                                        DWORD data_size, const void* data, void* reserved) {
  auto* set = wlanapi_.function<SetInterface>("WlanSetInterface");
  return set == nullptr ? ERROR_INVALID_HANDLE
                        : set(client, interface_guid, opcode, data_size, data, reserved);
}

void WlanApiWlanPort::WlanFreeMemory(void* memory) {
  if (auto* free_memory = wlanapi_.function<FreeMemory>("WlanFreeMemory")) {
    free_memory(memory);
  }
}

int32_t WlanApiWlanPort::UuidToStringW(const GUID* uuid, char16_t** text) {
  // MinGW declares the GUID argument without const; the function does not write it.
  return ::UuidToStringW(const_cast<GUID*>(uuid), reinterpret_cast<RPC_WSTR*>(text));
}

int32_t WlanApiWlanPort::RpcStringFreeW(char16_t** text) {
  return ::RpcStringFreeW(reinterpret_cast<RPC_WSTR*>(text));
}

int32_t WlanApiWlanPort::UuidFromStringW(const char16_t* text, GUID* uuid) {
  return ::UuidFromStringW(reinterpret_cast<RPC_WSTR>(const_cast<char16_t*>(text)), uuid);
}
