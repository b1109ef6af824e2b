// Token privileges, the power scheme, suspend, resume timers and shutdown, as the power actions use them.
#pragma once

#include "common/win_types.h"

namespace power_settings {
// {238C9FA8-0AAD-41ED-83F4-97BE242C8F20}
constexpr GUID GUID_SLEEP_SUBGROUP = {
    0x238C9FA8, 0x0AAD, 0x41ED, {0x83, 0xF4, 0x97, 0xBE, 0x24, 0x2C, 0x8F, 0x20}};
// {BD3B718A-0680-4D9D-8AB2-E1D2B4AC806D}
constexpr GUID GUID_ALLOW_RTC_WAKE = {
    0xBD3B718A, 0x0680, 0x4D9D, {0x8A, 0xB2, 0xE1, 0xD2, 0xB4, 0xAC, 0x80, 0x6D}};
}  // namespace power_settings

class PowerPort {
 public:
  virtual ~PowerPort() = default;
  virtual HANDLE GetCurrentProcess() = 0;
  virtual BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token) = 0;
  virtual BOOL LookupPrivilegeValueW(const char16_t* system_name, const char16_t* name, LUID* luid) = 0;
  virtual BOOL AdjustTokenPrivileges(HANDLE token, BOOL disable_all, TOKEN_PRIVILEGES* new_state,
                                     DWORD length, TOKEN_PRIVILEGES* previous_state,
                                     DWORD* return_length) = 0;
  // The scheme GUID it returns is the caller's to release with LocalFree.
  virtual DWORD PowerGetActiveScheme(HKEY root, GUID** active_scheme) = 0;
  virtual DWORD PowerWriteACValueIndex(HKEY root, const GUID* scheme, const GUID* subgroup,
                                       const GUID* setting, DWORD value) = 0;
  virtual DWORD PowerWriteDCValueIndex(HKEY root, const GUID* scheme, const GUID* subgroup,
                                       const GUID* setting, DWORD value) = 0;
  virtual DWORD PowerSetActiveScheme(HKEY root, const GUID* scheme) = 0;
  virtual HLOCAL LocalFree(HLOCAL memory) = 0;
  // Returns only after the machine has resumed, or at once when the suspend is refused.
  virtual BOOLEAN SetSuspendState(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wake_events_disabled) = 0;
  virtual HANDLE CreateWaitableTimerW(void* security, BOOL manual_reset, const char16_t* name) = 0;
  virtual BOOL SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* due_time, LONG period, BOOL resume) = 0;
  virtual BOOL CloseHandle(HANDLE handle) = 0;
  virtual EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE flags) = 0;
  virtual BOOL ExitWindowsEx(UINT flags, DWORD reason) = 0;
};
