#include "win32/win32_wmi_port.h"

#include <cstdio>

#include "win32/wide_cast.h"

HRESULT Win32WmiPort::CoInitializeEx(void* reserved, DWORD concurrency) {
  return ::CoInitializeEx(reserved, concurrency);
}

HRESULT Win32WmiPort::CoInitializeSecurity(void* security_descriptor, LONG auth_service_count,
                                           void* auth_services, void* reserved1, DWORD authn_level,
                                           DWORD imp_level, void* auth_list, DWORD capabilities,
                                           void* reserved3) {
  return ::CoInitializeSecurity(security_descriptor, auth_service_count,
                                static_cast<SOLE_AUTHENTICATION_SERVICE*>(auth_services), reserved1,
                                authn_level, imp_level, auth_list, capabilities, reserved3);
}

HRESULT Win32WmiPort::CoCreateInstance(const GUID* class_id, void* outer, DWORD context,
                                       const GUID* interface_id, IWbemLocator** locator) {
  return ::CoCreateInstance(*class_id, static_cast<IUnknown*>(outer), context, *interface_id,
                            reinterpret_cast<void**>(locator));
}

void Win32WmiPort::CoUninitialize() {
  ::CoUninitialize();
}

BSTR Win32WmiPort::SysAllocString(const char16_t* text) {
  return ::SysAllocString(as_wchar(text));
}

void Win32WmiPort::SysFreeString(BSTR text) {
  ::SysFreeString(text);
}

HANDLE Win32WmiPort::CreateEventW(void* attributes, BOOL manual_reset, BOOL initial_state,
                                  const char16_t* name) {
  return ::CreateEventW(static_cast<SECURITY_ATTRIBUTES*>(attributes), manual_reset, initial_state,
                        as_wchar(name));
}

HANDLE Win32WmiPort::CreateThread(void* attributes, size_t stack_size, LPTHREAD_START_ROUTINE start,
                                  void* parameter, DWORD flags, DWORD* thread_id) {
  return ::CreateThread(static_cast<SECURITY_ATTRIBUTES*>(attributes), stack_size, start, parameter, flags,
                        thread_id);
}

BOOL Win32WmiPort::SetEvent(HANDLE event) {
  return ::SetEvent(event);
}

DWORD Win32WmiPort::WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return ::WaitForSingleObject(handle, milliseconds);
}

BOOL Win32WmiPort::CloseHandle(HANDLE handle) {
  return ::CloseHandle(handle);
}

HRESULT Win32WmiPort::ConnectServer(IWbemLocator* locator, BSTR network_resource, BSTR user, BSTR password,
                                    BSTR locale, LONG security_flags, BSTR authority, IWbemContext* context,
                                    IWbemServices** services) {
  return locator->ConnectServer(network_resource, user, password, locale, security_flags, authority, context,
                                services);
}

HRESULT Win32WmiPort::CoSetProxyBlanket(IWbemServices* proxy, DWORD authn_service, DWORD authz_service,
                                        char16_t* principal_name, DWORD authn_level, DWORD imp_level,
                                        void* auth_info, DWORD capabilities) {
  return ::CoSetProxyBlanket(proxy, authn_service, authz_service, as_wchar(principal_name), authn_level,
                             imp_level, auth_info, capabilities);
}

HRESULT Win32WmiPort::ExecQuery(IWbemServices* services, BSTR language, BSTR query, LONG flags,
                                IWbemContext* context, IEnumWbemClassObject** enumerator) {
  return services->ExecQuery(language, query, flags, context, enumerator);
}

HRESULT Win32WmiPort::Next(IEnumWbemClassObject* enumerator, LONG timeout, ULONG count,
                           IWbemClassObject** objects, ULONG* returned) {
  return enumerator->Next(timeout, count, objects, returned);
}

HRESULT Win32WmiPort::Get(IWbemClassObject* object, const char16_t* name, LONG flags, VARIANT* value,
                          LONG* type, LONG* flavor) {
  return object->Get(as_wchar(name), flags, value, type, flavor);
}

HRESULT Win32WmiPort::VariantClear(VARIANT* value) {
  return ::VariantClear(value);
}

ULONG Win32WmiPort::Release(IWbemLocator* locator) {
  return locator->Release();
}

ULONG Win32WmiPort::Release(IWbemServices* services) {
  return services->Release();
}

ULONG Win32WmiPort::Release(IEnumWbemClassObject* enumerator) {
  return enumerator->Release();
}

ULONG Win32WmiPort::Release(IWbemClassObject* object) {
  return object->Release();
}

void Win32WmiPort::write_standard_output(const char* text) {
  std::fputs(text, stdout);
  std::fflush(stdout);
}
