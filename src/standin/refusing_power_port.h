// Power management for a simulated laptop that has none yet: every operation fails the way Windows
// fails it for a process without the rights, so the power buttons run their failure paths and nothing
// pretends to suspend. To be replaced by the simulated suspend, resume timer and shutdown.
#pragma once

#include "power/power_port.h"

class RefusingPowerPort final : public PowerPort {
 public:
  static constexpr DWORD kAccessDenied = 5;  // ERROR_ACCESS_DENIED

  HANDLE GetCurrentProcess() override { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }
  BOOL OpenProcessToken(HANDLE, DWORD, HANDLE* token) override {
    if (token != nullptr) {
      *token = nullptr;
    }
    return FALSE;
  }
  BOOL LookupPrivilegeValueW(const char16_t*, const char16_t*, LUID*) override { return FALSE; }
  BOOL AdjustTokenPrivileges(HANDLE, BOOL, TOKEN_PRIVILEGES*, DWORD, TOKEN_PRIVILEGES*, DWORD*) override {
    return FALSE;
  }
  DWORD PowerGetActiveScheme(HKEY, GUID** active_scheme) override {
    if (active_scheme != nullptr) {
      *active_scheme = nullptr;
    }
    return kAccessDenied;
  }
  DWORD PowerWriteACValueIndex(HKEY, const GUID*, const GUID*, const GUID*, DWORD) override {
    return kAccessDenied;
  }
  DWORD PowerWriteDCValueIndex(HKEY, const GUID*, const GUID*, const GUID*, DWORD) override {
    return kAccessDenied;
  }
  DWORD PowerSetActiveScheme(HKEY, const GUID*) override { return kAccessDenied; }
  HLOCAL LocalFree(HLOCAL memory) override { return memory; }  // nothing was ever handed out
  BOOLEAN SetSuspendState(BOOLEAN, BOOLEAN, BOOLEAN) override { return FALSE; }  // refused, at once
  HANDLE CreateWaitableTimerW(void*, BOOL, const char16_t*) override { return nullptr; }
  BOOL SetWaitableTimer(HANDLE, const LARGE_INTEGER*, LONG, BOOL) override { return FALSE; }
  BOOL CloseHandle(HANDLE) override { return FALSE; }  // it never opened one
  EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE) override { return 0; }
  BOOL ExitWindowsEx(UINT, DWORD) override { return FALSE; }
};
