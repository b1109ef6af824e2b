#include "win32/win32_power_port.h"

#include <powrprof.h>

#include "win32/wide_cast.h"

// The powrprof.dll functions are looked up at run time; the declarations only give their types.
// Without the library or the function, the scheme calls fail as not implemented and no suspend happens.

HANDLE Win32PowerPort::GetCurrentProcess() {
  return ::GetCurrentProcess();
}

BOOL Win32PowerPort::OpenProcessToken(HANDLE process, DWORD access, HANDLE* token) {
  return ::OpenProcessToken(process, access, token);
}

BOOL Win32PowerPort::LookupPrivilegeValueW(const char16_t* system_name, const char16_t* name, LUID* luid) {
  return ::LookupPrivilegeValueW(as_wchar(system_name), as_wchar(name), luid);
}

BOOL Win32PowerPort::AdjustTokenPrivileges(HANDLE token, BOOL disable_all, TOKEN_PRIVILEGES* new_state,
                                           DWORD length, TOKEN_PRIVILEGES* previous_state,
                                           DWORD* return_length) {
  return ::AdjustTokenPrivileges(token, disable_all, new_state, length, previous_state, return_length);
}

DWORD Win32PowerPort::PowerGetActiveScheme(HKEY root, GUID** active_scheme) {
  auto* get_active_scheme = powrprof_.function<decltype(::PowerGetActiveScheme)>("PowerGetActiveScheme");
  return get_active_scheme == nullptr ? ERROR_CALL_NOT_IMPLEMENTED : get_active_scheme(root, active_scheme);
}

DWORD Win32PowerPort::PowerWriteACValueIndex(HKEY root, const GUID* scheme, const GUID* subgroup,
                                             const GUID* setting, DWORD value) {
  auto* write = powrprof_.function<decltype(::PowerWriteACValueIndex)>("PowerWriteACValueIndex");
  return write == nullptr ? ERROR_CALL_NOT_IMPLEMENTED : write(root, scheme, subgroup, setting, value);
}

DWORD Win32PowerPort::PowerWriteDCValueIndex(HKEY root, const GUID* scheme, const GUID* subgroup,
                                             const GUID* setting, DWORD value) {
  auto* write = powrprof_.function<decltype(::PowerWriteDCValueIndex)>("PowerWriteDCValueIndex");
  return write == nullptr ? ERROR_CALL_NOT_IMPLEMENTED : write(root, scheme, subgroup, setting, value);
}

DWORD Win32PowerPort::PowerSetActiveScheme(HKEY root, const GUID* scheme) {
  auto* set_active_scheme = powrprof_.function<decltype(::PowerSetActiveScheme)>("PowerSetActiveScheme");
  return set_active_scheme == nullptr ? ERROR_CALL_NOT_IMPLEMENTED : set_active_scheme(root, scheme);
}

HLOCAL Win32PowerPort::LocalFree(HLOCAL memory) {
  return ::LocalFree(memory);
}

BOOLEAN Win32PowerPort::SetSuspendState(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wake_events_disabled) {
  auto* set_suspend_state = powrprof_.function<decltype(::SetSuspendState)>("SetSuspendState");
  return set_suspend_state == nullptr ? FALSE : set_suspend_state(hibernate, force, wake_events_disabled);
}

HANDLE Win32PowerPort::CreateWaitableTimerW(void* security, BOOL manual_reset, const char16_t* name) {
  return ::CreateWaitableTimerW(static_cast<SECURITY_ATTRIBUTES*>(security), manual_reset, as_wchar(name));
}

BOOL Win32PowerPort::SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* due_time, LONG period, BOOL resume) {
  return ::SetWaitableTimer(timer, due_time, period, nullptr, nullptr, resume);
}

BOOL Win32PowerPort::CloseHandle(HANDLE handle) {
  return ::CloseHandle(handle);
}

EXECUTION_STATE Win32PowerPort::SetThreadExecutionState(EXECUTION_STATE flags) {
  return ::SetThreadExecutionState(flags);
}

BOOL Win32PowerPort::ExitWindowsEx(UINT flags, DWORD reason) {
  return ::ExitWindowsEx(flags, reason);
}
