#include "win32/com_wmi_port.h"

#include <cstdio>

#include "win32/wide_cast.h"

HRESULT ComWmiPort::CoInitializeEx(void* reserved, DWORD concurrency) {
  return ::CoInitializeEx(reserved, concurrency);
}

HRESULT ComWmiPort::CoInitializeSecurity(void* security_descriptor, LONG auth_service_count,
                                         void* auth_services, void* reserved1, DWORD authn_level,
                                         DWORD imp_level, void* auth_list, DWORD capabilities,
                                         void* reserved3) {
  return ::CoInitializeSecurity(security_descriptor, auth_service_count,
                                static_cast<SOLE_AUTHENTICATION_SERVICE*>(auth_services), reserved1,
                                authn_level, imp_level, auth_list, capabilities, reserved3);
}

HRESULT ComWmiPort::CoCreateInstance(const GUID* class_id, void* outer, DWORD context,
                                     const GUID* interface_id, IWbemLocator** locator) {
  return ::CoCreateInstance(*class_id, static_cast<IUnknown*>(outer), context, *interface_id,
                            reinterpret_cast<void**>(locator));
}

void ComWmiPort::CoUninitialize() {
  ::CoUninitialize();
}

BSTR ComWmiPort::SysAllocString(const char16_t* text) {
  return ::SysAllocString(as_wchar(text));
}

void ComWmiPort::SysFreeString(BSTR text) {
  ::SysFreeString(text);
}

HANDLE ComWmiPort::CreateEventW(void* attributes, BOOL manual_reset, BOOL initial_state,
                                const char16_t* name) {
  return ::CreateEventW(static_cast<SECURITY_ATTRIBUTES*>(attributes), manual_reset, initial_state,
                        as_wchar(name));
}

HANDLE ComWmiPort::CreateThread(void* attributes, size_t stack_size, LPTHREAD_START_ROUTINE start,
                                void* parameter, DWORD flags, DWORD* thread_id) {
  return ::CreateThread(static_cast<SECURITY_ATTRIBUTES*>(attributes), stack_size, start, parameter, flags,
                        thread_id);
}

BOOL ComWmiPort::SetEvent(HANDLE event) {
  return ::SetEvent(event);
}

DWORD ComWmiPort::WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return ::WaitForSingleObject(handle, milliseconds);
}

BOOL ComWmiPort::CloseHandle(HANDLE handle) {
  return ::CloseHandle(handle);
}

HRESULT ComWmiPort::ConnectServer(IWbemLocator* locator, BSTR network_resource, BSTR user, BSTR password,
                                  BSTR locale, LONG security_flags, BSTR authority, IWbemContext* context,
                                  IWbemServices** services) {
  return locator->ConnectServer(network_resource, user, password, locale, security_flags, authority, context,
                                services);
}

HRESULT ComWmiPort::CoSetProxyBlanket(IWbemServices* proxy, DWORD authn_service, DWORD authz_service,
                                      char16_t* principal_name, DWORD authn_level, DWORD imp_level,
                                      void* auth_info, DWORD capabilities) {
  return ::CoSetProxyBlanket(proxy, authn_service, authz_service, as_wchar(principal_name), authn_level,
                             imp_level, auth_info, capabilities);
}

HRESULT ComWmiPort::ExecQuery(IWbemServices* services, BSTR language, BSTR query, LONG flags,
                              IWbemContext* context, IEnumWbemClassObject** enumerator) {
  return services->ExecQuery(language, query, flags, context, enumerator);
}

HRESULT ComWmiPort::Next(IEnumWbemClassObject* enumerator, LONG timeout, ULONG count,
                         IWbemClassObject** objects, ULONG* returned) {
  return enumerator->Next(timeout, count, objects, returned);
}

HRESULT ComWmiPort::Get(IWbemClassObject* object, const char16_t* name, LONG flags, VARIANT* value,
                        LONG* type, LONG* flavor) {
  return object->Get(as_wchar(name), flags, value, type, flavor);
}

HRESULT ComWmiPort::VariantClear(VARIANT* value) {
  return ::VariantClear(value);
}

ULONG ComWmiPort::Release(IWbemLocator* locator) {
  return locator->Release();
}

ULONG ComWmiPort::Release(IWbemServices* services) {
  return services->Release();
}

ULONG ComWmiPort::Release(IEnumWbemClassObject* enumerator) {
  return enumerator->Release();
}

ULONG ComWmiPort::Release(IWbemClassObject* object) {
  return object->Release();
}

void ComWmiPort::write_standard_output(const char* text) {
  std::fputs(text, stdout);
  std::fflush(stdout);
}
