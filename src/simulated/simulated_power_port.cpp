#include "simulated/simulated_power_port.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "common/guid.h"

namespace {

constexpr int kMaxWaitMs = 1000;  // the sleeping screen's clock is redrawn at least this often
// Of a sleep, the share the simulated chipset spends in its lowest state, in thousandths.
constexpr uint64_t kHardwareSleepPermille = 975;

}  // namespace

SimulatedPowerPort::~SimulatedPowerPort() = default;

HANDLE SimulatedPowerPort::GetCurrentProcess() {
  return ProcessToken::current_process();
}

BOOL SimulatedPowerPort::OpenProcessToken(HANDLE process, DWORD, HANDLE* token) {
  return token_.open(process, token);
}

BOOL SimulatedPowerPort::LookupPrivilegeValueW(const char16_t* system_name, const char16_t* name,
                                               LUID* luid) {
  return ProcessToken::lookup_privilege(system_name, name, luid);
}

BOOL SimulatedPowerPort::AdjustTokenPrivileges(HANDLE token, BOOL disable_all, TOKEN_PRIVILEGES* new_state,
                                               DWORD, TOKEN_PRIVILEGES*, DWORD*) {
  return token_.adjust(token, disable_all, new_state);
}

DWORD SimulatedPowerPort::PowerGetActiveScheme(HKEY, GUID** active_scheme) {
  if (active_scheme == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  *active_scheme = schemes_.hand_out(kSimulatedSchemeGuid);
  return 0;
}

DWORD SimulatedPowerPort::write_wake_setting(const GUID* scheme, const GUID* subgroup, const GUID* setting,
                                             DWORD value, DWORD WakeTimerSetting::*source) {
  if (!same_guid(scheme, kSimulatedSchemeGuid)) {
    return ERROR_FILE_NOT_FOUND;
  }
  // The only setting the simulated scheme holds.
  if (!same_guid(subgroup, power_settings::GUID_SLEEP_SUBGROUP) ||
      !same_guid(setting, power_settings::GUID_ALLOW_RTC_WAKE)) {
    return ERROR_FILE_NOT_FOUND;
  }
  if (value > 2) {
    return ERROR_INVALID_PARAMETER;  // 0 disable, 1 enable, 2 important timers only
  }
  written_.*source = value;
  return 0;
}

DWORD SimulatedPowerPort::PowerWriteACValueIndex(HKEY, const GUID* scheme, const GUID* subgroup,
                                                 const GUID* setting, DWORD value) {
  return write_wake_setting(scheme, subgroup, setting, value, &WakeTimerSetting::ac);
}

DWORD SimulatedPowerPort::PowerWriteDCValueIndex(HKEY, const GUID* scheme, const GUID* subgroup,
                                                 const GUID* setting, DWORD value) {
  return write_wake_setting(scheme, subgroup, setting, value, &WakeTimerSetting::dc);
}

DWORD SimulatedPowerPort::PowerSetActiveScheme(HKEY, const GUID* scheme) {
  if (!same_guid(scheme, kSimulatedSchemeGuid)) {
    return ERROR_FILE_NOT_FOUND;
  }
  active_ = written_;
  return 0;
}

HLOCAL SimulatedPowerPort::LocalFree(HLOCAL memory) {
  return schemes_.free(memory);
}

bool SimulatedPowerPort::sleep_until_woken(bool hibernate, bool timer_may_wake) {
  // The battery model counts a sleep on battery power faster; the machine's own count agrees.
  const uint64_t scale = battery_.ac_online() ? 1 : static_cast<uint64_t>(kSleepTimeScale);
  const uint64_t fell_asleep_ms = clock_.milliseconds();
  battery_.fall_asleep(hibernate ? kHibernateLoadMw : kSleepLoadMw, kSleepTimeScale);
  bool woken_by_timer = false;
  for (;;) {
    const std::optional<uint64_t> due = timer_may_wake ? timers_.next_resume_due() : std::nullopt;
    const uint64_t now = clock_.milliseconds();
    if (due && *due <= now) {
      woken_by_timer = true;
      break;
    }
    SleepView view;
    view.hibernating = hibernate;
    view.time_scale = kSleepTimeScale;
    int wait_ms = kMaxWaitMs;
    if (due) {
      view.resume_in_ms = *due - now;
      wait_ms = static_cast<int>(std::min<uint64_t>(*due - now, kMaxWaitMs));
    }
    if (screen_ == nullptr || screen_->show_asleep(view, wait_ms)) {
      break;  // a key, or nobody to wake it later: wakes at once
    }
  }
  timers_.fire_due();
  battery_.wake_up();
  const uint64_t slept_ms = clock_.milliseconds() - fell_asleep_ms;
  sleeps_.awake_lost_ms += slept_ms;
  sleeps_.last_asleep_ms = slept_ms * scale;
  sleeps_.asleep_ms += sleeps_.last_asleep_ms;
  sleeps_.last_hibernate = hibernate;
  sleeps_.last_woken_by_timer = woken_by_timer;
  sleeps_.alarm_pending = timers_.next_resume_due().has_value();
  if (!hibernate) {
    ++sleeps_.suspends;
    sleeps_.last_hw_sleep_us = sleeps_.last_asleep_ms * kHardwareSleepPermille;
    sleeps_.total_hw_sleep_us += sleeps_.last_hw_sleep_us;
  }
  return woken_by_timer;
}

BOOLEAN SimulatedPowerPort::SetSuspendState(BOOLEAN hibernate, BOOLEAN, BOOLEAN wake_events_disabled) {
  if (!token_.shutdown_privilege_enabled()) {
    return FALSE;  // ERROR_PRIVILEGE_NOT_HELD: refused at once
  }
  ++suspends_;
  const bool woken_by_timer = sleep_until_woken(hibernate != FALSE, wake_events_disabled == FALSE);
  // Sent while the caller was held; they reach the host once it is back in its message loop.
  broadcasts_.post(power_broadcast::PBT_APMRESUMEAUTOMATIC);
  if (!woken_by_timer) {
    broadcasts_.post(power_broadcast::PBT_APMRESUMESUSPEND);
  }
  return TRUE;
}

HANDLE SimulatedPowerPort::CreateWaitableTimerW(void*, BOOL manual_reset, const char16_t* name) {
  if (name != nullptr) {
    return nullptr;  // named kernel objects are not simulated
  }
  return timers_.create(manual_reset != FALSE);
}

BOOL SimulatedPowerPort::SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* due_time, LONG period,
                                          BOOL resume) {
  if (due_time == nullptr) {
    return FALSE;
  }
  return timers_.set(timer, due_time->QuadPart, period, resume != FALSE) ? TRUE : FALSE;
}

BOOL SimulatedPowerPort::CloseHandle(HANDLE handle) {
  if (token_.close(handle)) {
    return TRUE;
  }
  return timers_.close(handle) ? TRUE : FALSE;
}

EXECUTION_STATE SimulatedPowerPort::SetThreadExecutionState(EXECUTION_STATE flags) {
  const EXECUTION_STATE previous = execution_state_;
  execution_state_ = flags;
  return previous;
}

BOOL SimulatedPowerPort::ExitWindowsEx(UINT flags, DWORD) {
  if (!token_.shutdown_privilege_enabled() || (flags & EWX_SHUTDOWN) == 0) {
    return FALSE;
  }
  shut_down_ = true;
  if (screen_ != nullptr) {
    screen_->show_shutting_down();
  }
  return TRUE;
}
