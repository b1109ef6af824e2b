// What the real laptop cannot do yet: each port answers as Windows does when it refuses, so the
// logic takes its failure paths and nothing on the machine changes; the reason is for the status strip.
#pragma once

#include "devices/input_port.h"
#include "devices/lcd_port.h"
#include "devices/wlan_port.h"
#include "power/power_port.h"

constexpr const char16_t* kNotAvailableYet = u"not available yet";

// Sleep, hibernate, resume timers and shutdown: the process may not take the shutdown privilege.
class UnavailablePowerPort final : public PowerPort {
 public:
  HANDLE GetCurrentProcess() override;
  BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token) override;
  BOOL LookupPrivilegeValueW(const char16_t* system_name, const char16_t* name, LUID* luid) override;
  BOOL AdjustTokenPrivileges(HANDLE token, BOOL disable_all, TOKEN_PRIVILEGES* new_state, DWORD length,
                             TOKEN_PRIVILEGES* previous_state, DWORD* return_length) override;
  DWORD PowerGetActiveScheme(HKEY root, GUID** active_scheme) override;
  DWORD PowerWriteACValueIndex(HKEY root, const GUID* scheme, const GUID* subgroup, const GUID* setting,
                               DWORD value) override;
  DWORD PowerWriteDCValueIndex(HKEY root, const GUID* scheme, const GUID* subgroup, const GUID* setting,
                               DWORD value) override;
  DWORD PowerSetActiveScheme(HKEY root, const GUID* scheme) override;
  HLOCAL LocalFree(HLOCAL memory) override;
  BOOLEAN SetSuspendState(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wake_events_disabled) override;
  HANDLE CreateWaitableTimerW(void* security, BOOL manual_reset, const char16_t* name) override;
  BOOL SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* due_time, LONG period, BOOL resume) override;
  BOOL CloseHandle(HANDLE handle) override;
  EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE flags) override;
  BOOL ExitWindowsEx(UINT flags, DWORD reason) override;

  // Refused requests, by kind: what the status strip can point at.
  int refused() const { return refused_; }

 private:
  int refused_ = 0;
};

// No "\\.\LCD" device.
class UnavailableLcdPort final : public LcdPort {
 public:
  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                     DWORD flags_and_attributes) override;
  BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size, void* out_buffer,
                       DWORD out_size, DWORD* bytes_returned) override;
  BOOL CloseHandle(HANDLE handle) override;
};

// The WLAN service is not running; the RPC runtime's GUID texts still work.
class UnavailableWlanPort final : public WlanPort {
 public:
  DWORD WlanOpenHandle(DWORD client_version, void* reserved, DWORD* negotiated_version,
                       HANDLE* client) override;
  DWORD WlanCloseHandle(HANDLE client, void* reserved) override;
  DWORD WlanEnumInterfaces(HANDLE client, void* reserved,
                           native_wifi::WLAN_INTERFACE_INFO_LIST** list) override;
  DWORD WlanQueryInterface(HANDLE client, const GUID* interface_guid, DWORD opcode, void* reserved,
                           DWORD* data_size, void** data, int32_t* value_type) override;
  DWORD WlanGetInterfaceCapability(HANDLE client, const GUID* interface_guid, void* reserved,
                                   native_wifi::WLAN_INTERFACE_CAPABILITY** capability) override;
  DWORD WlanSetInterface(HANDLE client, const GUID* interface_guid, DWORD opcode, DWORD data_size,
                         const void* data, void* reserved) override;
  void WlanFreeMemory(void* memory) override;
  int32_t UuidToStringW(const GUID* uuid, char16_t** text) override;
  int32_t RpcStringFreeW(char16_t** text) override;
  int32_t UuidFromStringW(const char16_t* text, GUID* uuid) override;
};

// Injected input blocked, as for a process below the desktop's integrity level.
class UnavailableInputPort final : public InputPort {
 public:
  UINT SendInput(UINT count, INPUT* inputs, int size) override;
};
