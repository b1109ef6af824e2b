#include "linux/unavailable_ports.h"

#include <cstring>

#include "standin/uuid_text.h"

namespace {
constexpr int32_t kRpcInvalidStringUuid = 1705;
}  // namespace

HANDLE UnavailablePowerPort::GetCurrentProcess() {
  return INVALID_HANDLE_VALUE;  // the pseudo handle (HANDLE)-1
}

BOOL UnavailablePowerPort::OpenProcessToken(HANDLE, DWORD, HANDLE* token) {
  if (token != nullptr) {
    *token = nullptr;
  }
  ++refused_;
  return FALSE;  // ERROR_ACCESS_DENIED
}

BOOL UnavailablePowerPort::LookupPrivilegeValueW(const char16_t*, const char16_t*, LUID*) {
  return FALSE;
}

BOOL UnavailablePowerPort::AdjustTokenPrivileges(HANDLE, BOOL, TOKEN_PRIVILEGES*, DWORD, TOKEN_PRIVILEGES*,
                                                 DWORD*) {
  return FALSE;
}

DWORD UnavailablePowerPort::PowerGetActiveScheme(HKEY, GUID** active_scheme) {
  if (active_scheme != nullptr) {
    *active_scheme = nullptr;
  }
  ++refused_;
  return ERROR_NOT_SUPPORTED;
}

DWORD UnavailablePowerPort::PowerWriteACValueIndex(HKEY, const GUID*, const GUID*, const GUID*, DWORD) {
  return ERROR_NOT_SUPPORTED;
}

DWORD UnavailablePowerPort::PowerWriteDCValueIndex(HKEY, const GUID*, const GUID*, const GUID*, DWORD) {
  return ERROR_NOT_SUPPORTED;
}

DWORD UnavailablePowerPort::PowerSetActiveScheme(HKEY, const GUID*) {
  return ERROR_NOT_SUPPORTED;
}

HLOCAL UnavailablePowerPort::LocalFree(HLOCAL memory) {
  return memory;  // nothing was handed out: a block it does not know stays the caller's
}

BOOLEAN UnavailablePowerPort::SetSuspendState(BOOLEAN, BOOLEAN, BOOLEAN) {
  ++refused_;
  return FALSE;  // ERROR_PRIVILEGE_NOT_HELD
}

HANDLE UnavailablePowerPort::CreateWaitableTimerW(void*, BOOL, const char16_t*) {
  ++refused_;
  return nullptr;
}

BOOL UnavailablePowerPort::SetWaitableTimer(HANDLE, const LARGE_INTEGER*, LONG, BOOL) {
  return FALSE;  // ERROR_INVALID_HANDLE
}

BOOL UnavailablePowerPort::CloseHandle(HANDLE) {
  return FALSE;  // ERROR_INVALID_HANDLE: this port never handed one out
}

EXECUTION_STATE UnavailablePowerPort::SetThreadExecutionState(EXECUTION_STATE) {
  return 0;
}

BOOL UnavailablePowerPort::ExitWindowsEx(UINT, DWORD) {
  ++refused_;
  return FALSE;
}

HANDLE UnavailableLcdPort::CreateFileW(const char16_t*, DWORD, DWORD, DWORD, DWORD) {
  return INVALID_HANDLE_VALUE;  // ERROR_FILE_NOT_FOUND
}

BOOL UnavailableLcdPort::DeviceIoControl(HANDLE, DWORD, void*, DWORD, void*, DWORD, DWORD* bytes_returned) {
  if (bytes_returned != nullptr) {
    *bytes_returned = 0;
  }
  return FALSE;
}

BOOL UnavailableLcdPort::CloseHandle(HANDLE) {
  return FALSE;
}

DWORD UnavailableWlanPort::WlanOpenHandle(DWORD, void*, DWORD* negotiated_version, HANDLE* client) {
  if (negotiated_version != nullptr) {
    *negotiated_version = 0;
  }
  if (client != nullptr) {
    *client = nullptr;
  }
  return ERROR_SERVICE_NOT_ACTIVE;
}

DWORD UnavailableWlanPort::WlanCloseHandle(HANDLE, void*) {
  return ERROR_INVALID_HANDLE;
}

DWORD UnavailableWlanPort::WlanEnumInterfaces(HANDLE, void*, native_wifi::WLAN_INTERFACE_INFO_LIST** list) {
  if (list != nullptr) {
    *list = nullptr;
  }
  return ERROR_INVALID_HANDLE;
}

DWORD UnavailableWlanPort::WlanQueryInterface(HANDLE, const GUID*, DWORD, void*, DWORD* data_size,
                                              void** data, int32_t*) {
  if (data_size != nullptr) {
    *data_size = 0;
  }
  if (data != nullptr) {
    *data = nullptr;
  }
  return ERROR_INVALID_HANDLE;
}

DWORD UnavailableWlanPort::WlanGetInterfaceCapability(HANDLE, const GUID*, void*,
                                                      native_wifi::WLAN_INTERFACE_CAPABILITY** capability) {
  if (capability != nullptr) {
    *capability = nullptr;
  }
  return ERROR_INVALID_HANDLE;
}

DWORD UnavailableWlanPort::WlanSetInterface(HANDLE, const GUID*, DWORD, DWORD, const void*, void*) {
  return ERROR_INVALID_HANDLE;
}

void UnavailableWlanPort::WlanFreeMemory(void*) {}

int32_t UnavailableWlanPort::UuidToStringW(const GUID* uuid, char16_t** text) {
  if (uuid == nullptr || text == nullptr) {
    return kRpcInvalidStringUuid;
  }
  const std::u16string converted = uuid_to_text(*uuid);
  *text = new char16_t[converted.size() + 1];
  std::memcpy(*text, converted.c_str(), (converted.size() + 1) * sizeof(char16_t));
  return native_wifi::RPC_S_OK;
}

int32_t UnavailableWlanPort::RpcStringFreeW(char16_t** text) {
  if (text == nullptr) {
    return kRpcInvalidStringUuid;
  }
  delete[] * text;
  *text = nullptr;
  return native_wifi::RPC_S_OK;
}

int32_t UnavailableWlanPort::UuidFromStringW(const char16_t* text, GUID* uuid) {
  if (uuid == nullptr) {
    return kRpcInvalidStringUuid;
  }
  if (text == nullptr) {
    *uuid = GUID{};
    return native_wifi::RPC_S_OK;
  }
  const std::optional<GUID> parsed = uuid_from_text(text);
  if (!parsed) {
    return kRpcInvalidStringUuid;
  }
  *uuid = *parsed;
  return native_wifi::RPC_S_OK;
}

UINT UnavailableInputPort::SendInput(UINT, INPUT*, int) {
  return 0;  // blocked: no event inserted
}
