// COM, WMI, the event and the companion thread of the board identity query, straight through to Windows.
#pragma once

#include "ports/wmi_port.h"

class ComWmiPort final : public WmiPort {
 public:
  HRESULT CoInitializeEx(void* reserved, DWORD concurrency) override;
  HRESULT CoInitializeSecurity(void* security_descriptor, LONG auth_service_count, void* auth_services,
                               void* reserved1, DWORD authn_level, DWORD imp_level, void* auth_list,
                               DWORD capabilities, void* reserved3) override;
  HRESULT CoCreateInstance(const GUID* class_id, void* outer, DWORD context, const GUID* interface_id,
                           IWbemLocator** locator) override;
  void CoUninitialize() override;
  BSTR SysAllocString(const char16_t* text) override;
  void SysFreeString(BSTR text) override;
  HANDLE CreateEventW(void* attributes, BOOL manual_reset, BOOL initial_state, const char16_t* name) override;
  HANDLE CreateThread(void* attributes, size_t stack_size, LPTHREAD_START_ROUTINE start, void* parameter,
                      DWORD flags, DWORD* thread_id) override;
  BOOL SetEvent(HANDLE event) override;
  DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
  BOOL CloseHandle(HANDLE handle) override;
  HRESULT ConnectServer(IWbemLocator* locator, BSTR network_resource, BSTR user, BSTR password, BSTR locale,
                        LONG security_flags, BSTR authority, IWbemContext* context,
                        IWbemServices** services) override;
  HRESULT CoSetProxyBlanket(IWbemServices* proxy, DWORD authn_service, DWORD authz_service,
                            char16_t* principal_name, DWORD authn_level, DWORD imp_level, void* auth_info,
                            DWORD capabilities) override;
  HRESULT ExecQuery(IWbemServices* services, BSTR language, BSTR query, LONG flags, IWbemContext* context,
                    IEnumWbemClassObject** enumerator) override;
  HRESULT Next(IEnumWbemClassObject* enumerator, LONG timeout, ULONG count, IWbemClassObject** objects,
               ULONG* returned) override;
  HRESULT Get(IWbemClassObject* object, const char16_t* name, LONG flags, VARIANT* value, LONG* type,
              LONG* flavor) override;
  HRESULT VariantClear(VARIANT* value) override;
  ULONG Release(IWbemLocator* locator) override;
  ULONG Release(IWbemServices* services) override;
  ULONG Release(IEnumWbemClassObject* enumerator) override;
  ULONG Release(IWbemClassObject* object) override;
  void write_standard_output(const char* text) override;
};
