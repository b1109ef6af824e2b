#include "win32/powrprof_power_port.h"

#include <powrprof.h>

#include "win32/wide_cast.h"

// The powrprof.dll functions are looked up at run time; the declarations only give their types.
// Without the library or the function, the scheme calls fail as not implemented and no suspend happens.

HANDLE PowrProfPowerPort::GetCurrentProcess() {
  return ::GetCurrentProcess();
}

BOOL PowrProfPowerPort::OpenProcessToken(HANDLE process, DWORD access, HANDLE* token) {
  return ::OpenProcessToken(process, access, token);
}

BOOL PowrProfPowerPort::LookupPrivilegeValueW(const char16_t* system_name, const char16_t* name, LUID* luid) {
  return ::LookupPrivilegeValueW(as_wchar(system_name), as_wchar(name), luid);
}

BOOL PowrProfPowerPort::AdjustTokenPrivileges(HANDLE token, BOOL disable_all, TOKEN_PRIVILEGES* new_state,
                                              DWORD length, TOKEN_PRIVILEGES* previous_state,
                                              DWORD* return_length) {
  return ::AdjustTokenPrivileges(token, disable_all, new_state, length, previous_state, return_length);
}

DWORD PowrProfPowerPort::PowerGetActiveScheme(HKEY root, GUID** active_scheme) {
  auto* get_active_scheme = powrprof_.function<decltype(::PowerGetActiveScheme)>("PowerGetActiveScheme");
  return get_active_scheme == nullptr ? ERROR_CALL_NOT_IMPLEMENTED : get_active_scheme(root, active_scheme);
}

DWORD PowrProfPowerPort::PowerWriteACValueIndex(HKEY root, const GUID* scheme, const GUID* subgroup,
                                                const GUID* setting, DWORD value) {
  auto* write = powrprof_.function<decltype(::PowerWriteACValueIndex)>("PowerWriteACValueIndex");
  return write == nullptr ? ERROR_CALL_NOT_IMPLEMENTED : write(root, scheme, subgroup, setting, value);
}

DWORD PowrProfPowerPort::PowerWriteDCValueIndex(HKEY root, const GUID* scheme, const GUID* subgroup,
                                                const GUID* setting, DWORD value) {
  auto* write = powrprof_.function<decltype(::PowerWriteDCValueIndex)>("PowerWriteDCValueIndex");
  return write == nullptr ? ERROR_CALL_NOT_IMPLEMENTED : write(root, scheme, subgroup, setting, value);
}

DWORD PowrProfPowerPort::PowerSetActiveScheme(HKEY root, const GUID* scheme) {
  auto* set_active_scheme = powrprof_.function<decltype(::PowerSetActiveScheme)>("PowerSetActiveScheme");
  return set_active_scheme == nullptr ? ERROR_CALL_NOT_IMPLEMENTED : set_active_scheme(root, scheme);
}

HLOCAL PowrProfPowerPort::LocalFree(HLOCAL memory) {
  return ::LocalFree(memory);
}

BOOLEAN PowrProfPowerPort::SetSuspendState(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wake_events_disabled) {
  auto* set_suspend_state = powrprof_.function<decltype(::SetSuspendState)>("SetSuspendState");
  return set_suspend_state == nullptr ? FALSE : set_suspend_state(hibernate, force, wake_events_disabled);
}

HANDLE PowrProfPowerPort::CreateWaitableTimerW(void* security, BOOL manual_reset, const char16_t* name) {
  return ::CreateWaitableTimerW(static_cast<SECURITY_ATTRIBUTES*>(security), manual_reset, as_wchar(name));
}

BOOL PowrProfPowerPort::SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* due_time, LONG period,
                                         BOOL resume) {
  return ::SetWaitableTimer(timer, due_time, period, nullptr, nullptr, resume);
}

BOOL PowrProfPowerPort::CloseHandle(HANDLE handle) {
  return ::CloseHandle(handle);
}

EXECUTION_STATE PowrProfPowerPort::SetThreadExecutionState(EXECUTION_STATE flags) {
  return ::SetThreadExecutionState(flags);
}

BOOL PowrProfPowerPort::ExitWindowsEx(UINT flags, DWORD reason) {
  return ::ExitWindowsEx(flags, reason);
}
