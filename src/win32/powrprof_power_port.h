// Token privileges, power schemes, suspend, resume timers and shutdown, straight through to Windows.
#pragma once

#include "ports/power_port.h"
#include "win32/system_library.h"

class PowrProfPowerPort final : public PowerPort {
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

 private:
  // Not a known DLL: linking it would let a planted copy be loaded in its place.
  SystemLibrary powrprof_{L"powrprof.dll"};
};
