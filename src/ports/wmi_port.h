// COM, WMI and the few kernel objects the board identity query uses, one method per platform call.
#pragma once

#include <cstddef>

#include "common/com_types.h"

class WmiPort {
 public:
  virtual ~WmiPort() = default;

  virtual HRESULT CoInitializeEx(void* reserved, DWORD concurrency) = 0;
  virtual HRESULT CoInitializeSecurity(void* security_descriptor, LONG auth_service_count,
                                       void* auth_services, void* reserved1, DWORD authn_level,
                                       DWORD imp_level, void* auth_list, DWORD capabilities,
                                       void* reserved3) = 0;
  virtual HRESULT CoCreateInstance(const GUID* class_id, void* outer, DWORD context, const GUID* interface_id,
                                   IWbemLocator** locator) = 0;
  virtual void CoUninitialize() = 0;

  virtual BSTR SysAllocString(const char16_t* text) = 0;
  virtual void SysFreeString(BSTR text) = 0;

  virtual HANDLE CreateEventW(void* attributes, BOOL manual_reset, BOOL initial_state,
                              const char16_t* name) = 0;
  virtual HANDLE CreateThread(void* attributes, size_t stack_size, LPTHREAD_START_ROUTINE start,
                              void* parameter, DWORD flags, DWORD* thread_id) = 0;
  virtual BOOL SetEvent(HANDLE event) = 0;
  // Called from the companion thread as well as from the query's own thread.
  virtual DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) = 0;
  virtual BOOL CloseHandle(HANDLE handle) = 0;

  virtual HRESULT ConnectServer(IWbemLocator* locator, BSTR network_resource, BSTR user, BSTR password,
                                BSTR locale, LONG security_flags, BSTR authority, IWbemContext* context,
                                IWbemServices** services) = 0;
  virtual HRESULT CoSetProxyBlanket(IWbemServices* proxy, DWORD authn_service, DWORD authz_service,
                                    char16_t* principal_name, DWORD authn_level, DWORD imp_level,
                                    void* auth_info, DWORD capabilities) = 0;
  virtual HRESULT ExecQuery(IWbemServices* services, BSTR language, BSTR query, LONG flags,
                            IWbemContext* context, IEnumWbemClassObject** enumerator) = 0;
  virtual HRESULT Next(IEnumWbemClassObject* enumerator, LONG timeout, ULONG count,
                       IWbemClassObject** objects, ULONG* returned) = 0;
  virtual HRESULT Get(IWbemClassObject* object, const char16_t* name, LONG flags, VARIANT* value, LONG* type,
                      LONG* flavor) = 0;
  virtual HRESULT VariantClear(VARIANT* value) = 0;

  // IUnknown::Release of each interface the query holds.
  virtual ULONG Release(IWbemLocator* locator) = 0;
  virtual ULONG Release(IWbemServices* services) = 0;
  virtual ULONG Release(IEnumWbemClassObject* enumerator) = 0;
  virtual ULONG Release(IWbemClassObject* object) = 0;

  // The C runtime's standard output: nobody sees it in a windowed program, but a console or a
  // redirection does.
  virtual void write_standard_output(const char* text) = 0;
};
