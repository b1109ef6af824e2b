#include "linux/logind_power_port.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "common/guid.h"

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kFileTimeEpochOffsetSeconds = 11'644'473'600;  // 1601-01-01 to 1970-01-01

// A due time as SetWaitableTimer takes it: negative is relative in 100 ns units, positive an absolute
// UTC file time. The alarm has whole seconds: a relative time is rounded up, so it never rings early.
int64_t due_epoch_seconds(int64_t due, int64_t now) {
  if (due <= 0) {
    const uint64_t ticks = 0 - static_cast<uint64_t>(due);
    return now + static_cast<int64_t>((ticks + kTicksPerSecond - 1) / kTicksPerSecond);
  }
  return due / kTicksPerSecond - kFileTimeEpochOffsetSeconds;
}

}  // namespace

LogindPowerPort::LogindPowerPort(LogindBus bus, RtcWakeAlarm alarm, std::function<int64_t()> epoch_now)
    : bus_(std::move(bus)), alarm_(std::move(alarm)), epoch_now_(std::move(epoch_now)) {}

LogindPowerPort::~LogindPowerPort() = default;

HANDLE LogindPowerPort::GetCurrentProcess() {
  return ProcessToken::current_process();
}

BOOL LogindPowerPort::OpenProcessToken(HANDLE process, DWORD, HANDLE* token) {
  return token_.open(process, token);
}

BOOL LogindPowerPort::LookupPrivilegeValueW(const char16_t* system_name, const char16_t* name, LUID* luid) {
  return ProcessToken::lookup_privilege(system_name, name, luid);
}

BOOL LogindPowerPort::AdjustTokenPrivileges(HANDLE token, BOOL disable_all, TOKEN_PRIVILEGES* new_state,
                                            DWORD, TOKEN_PRIVILEGES*, DWORD*) {
  return token_.adjust(token, disable_all, new_state);
}

DWORD LogindPowerPort::PowerGetActiveScheme(HKEY, GUID** active_scheme) {
  if (active_scheme == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  *active_scheme = schemes_.hand_out(kLinuxSchemeGuid);
  return ERROR_SUCCESS;
}

DWORD LogindPowerPort::write_wake_setting(const GUID* scheme, const GUID* subgroup, const GUID* setting,
                                          DWORD value) {
  if (!same_guid(scheme, kLinuxSchemeGuid) || !same_guid(subgroup, power_settings::GUID_SLEEP_SUBGROUP) ||
      !same_guid(setting, power_settings::GUID_ALLOW_RTC_WAKE)) {
    return ERROR_FILE_NOT_FOUND;
  }
  if (value > 2) {
    return ERROR_INVALID_PARAMETER;
  }
  wake_setting_written_ = value;
  return ERROR_SUCCESS;
}

// One RTC, one wake-up setting: the mains and battery values are the same file.
DWORD LogindPowerPort::PowerWriteACValueIndex(HKEY, const GUID* scheme, const GUID* subgroup,
                                              const GUID* setting, DWORD value) {
  return write_wake_setting(scheme, subgroup, setting, value);
}

DWORD LogindPowerPort::PowerWriteDCValueIndex(HKEY, const GUID* scheme, const GUID* subgroup,
                                              const GUID* setting, DWORD value) {
  return write_wake_setting(scheme, subgroup, setting, value);
}

DWORD LogindPowerPort::PowerSetActiveScheme(HKEY, const GUID* scheme) {
  if (!same_guid(scheme, kLinuxSchemeGuid)) {
    return ERROR_FILE_NOT_FOUND;
  }
  // Only enabling is ever asked for; a disabled setting is left to the system as it is.
  if (wake_setting_written_ != 0 && !alarm_.enable_wakeup()) {
    alarm_problem_ = "wake-up setting: " + alarm_.last_error();
    return ERROR_ACCESS_DENIED;
  }
  return ERROR_SUCCESS;
}

HLOCAL LogindPowerPort::LocalFree(HLOCAL memory) {
  return schemes_.free(memory);
}

BOOLEAN LogindPowerPort::SetSuspendState(BOOLEAN hibernate, BOOLEAN, BOOLEAN wake_events_disabled) {
  if (!token_.shutdown_privilege_enabled()) {
    logind_problem_ = "the shutdown privilege was not enabled";
    return FALSE;
  }
  if (wake_events_disabled != FALSE && alarm_armed_for_) {
    // No wake event may end this sleep: an alarm of an earlier test is cleared.
    if (alarm_.clear()) {
      alarm_armed_for_.reset();
    }
  }
  if (before_sleep_) {
    before_sleep_(hibernate != FALSE);
  }
  const SleepOutcome outcome = bus_.sleep(hibernate != FALSE ? "Hibernate" : "Suspend", stop_);
  logind_problem_ = outcome == SleepOutcome::resumed ? std::string() : bus_.last_error();
  if (alarm_armed_for_ && *alarm_armed_for_ <= epoch_now_()) {
    alarm_armed_for_.reset();  // rung, or passed while awake
  }
  return outcome == SleepOutcome::resumed ? TRUE : FALSE;
}

HANDLE LogindPowerPort::CreateWaitableTimerW(void*, BOOL, const char16_t* name) {
  if (name != nullptr) {
    return nullptr;  // named timers are not shared between processes here
  }
  timers_.push_back(std::make_unique<Timer>());
  return timers_.back().get();
}

LogindPowerPort::Timer* LogindPowerPort::find_timer(HANDLE handle) {
  for (const std::unique_ptr<Timer>& timer : timers_) {
    if (timer.get() == handle) {
      return timer.get();
    }
  }
  return nullptr;
}

BOOL LogindPowerPort::SetWaitableTimer(HANDLE handle, const LARGE_INTEGER* due_time, LONG period,
                                       BOOL resume) {
  Timer* timer = find_timer(handle);
  if (timer == nullptr || due_time == nullptr || period < 0) {
    return FALSE;  // ERROR_INVALID_HANDLE
  }
  if (resume == FALSE) {
    return TRUE;  // a timer that cannot wake the machine needs no alarm, and nothing here waits on it
  }
  const int64_t due = due_epoch_seconds(due_time->QuadPart, epoch_now_());
  if (!alarm_.arm(due)) {
    alarm_problem_ = "wake alarm needs root: " + alarm_.last_error();
    timer->alarm_armed = false;
    return FALSE;  // ERROR_ACCESS_DENIED
  }
  alarm_problem_.clear();
  for (const std::unique_ptr<Timer>& other : timers_) {
    other->alarm_armed = false;  // the RTC holds one alarm: the newest timer owns it
  }
  timer->alarm_armed = true;
  alarm_armed_for_ = due;
  return TRUE;
}

BOOL LogindPowerPort::CloseHandle(HANDLE handle) {
  if (token_.close(handle)) {
    return TRUE;
  }
  const auto found = std::find_if(timers_.begin(), timers_.end(),
                                  [&](const std::unique_ptr<Timer>& timer) { return timer.get() == handle; });
  if (found == timers_.end()) {
    return FALSE;
  }
  // Closing the last handle of a timer cancels it, and with it the alarm it set.
  if ((*found)->alarm_armed && alarm_armed_for_ && *alarm_armed_for_ > epoch_now_() && alarm_.clear()) {
    alarm_armed_for_.reset();
  }
  timers_.erase(found);
  return TRUE;
}

EXECUTION_STATE LogindPowerPort::SetThreadExecutionState(EXECUTION_STATE flags) {
  const EXECUTION_STATE previous = execution_state_;
  execution_state_ = flags;
  return previous;
}

BOOL LogindPowerPort::ExitWindowsEx(UINT flags, DWORD) {
  if (!token_.shutdown_privilege_enabled() || (flags & EWX_SHUTDOWN) == 0) {
    return FALSE;
  }
  if (!bus_.power_off()) {
    logind_problem_ = bus_.last_error();
    return FALSE;
  }
  logind_problem_.clear();
  powered_off_ = true;
  return TRUE;
}

PowerPortReport LogindPowerPort::report() const {
  PowerPortReport report;
  report.alarm_armed_for = alarm_armed_for_;
  report.alarm_problem = alarm_problem_;
  report.logind_problem = logind_problem_;
  report.powered_off = powered_off_;
  return report;
}
