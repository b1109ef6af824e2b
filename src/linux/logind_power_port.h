// Power management of the real laptop: suspend, hibernate and power-off through logind only, which
// runs the sleep hooks and inhibitors; the waitable timer with resume as the RTC wake alarm, and the
// allow-wake-timers setting as the RTC's wake-up setting. The token calls succeed as for a user who holds the
// shutdown privilege: on Linux logind and polkit decide, and a refusal comes back from the request itself.
#pragma once

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "linux/logind_bus.h"
#include "linux/rtc_wake_alarm.h"
#include "ports/power_port.h"
#include "posix/process_token.h"
#include "posix/scheme_blocks.h"

// The real laptop's power scheme: one, whose only setting is the RTC's wake-up.
// {5A4C0B56-5E3F-4D1B-9B4E-6C696E757821}
constexpr GUID kLinuxSchemeGuid = {
    0x5A4C0B56, 0x5E3F, 0x4D1B, {0x9B, 0x4E, 0x6C, 0x69, 0x6E, 0x75, 0x78, 0x21}};

// What the status strip shows of the power side.
struct PowerPortReport {
  std::optional<int64_t> alarm_armed_for;  // epoch seconds of the alarm this program set
  std::string alarm_problem;               // why the last alarm or wake-up setting could not be written
  std::string logind_problem;              // why the last suspend, hibernate or power-off did not happen
  bool powered_off = false;
};

class LogindPowerPort final : public PowerPort {
 public:
  LogindPowerPort(
      LogindBus bus, RtcWakeAlarm alarm,
      std::function<int64_t()> epoch_now = [] { return static_cast<int64_t>(std::time(nullptr)); });
  ~LogindPowerPort() override;
  LogindPowerPort(const LogindPowerPort&) = delete;
  LogindPowerPort& operator=(const LogindPowerPort&) = delete;

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

  PowerPortReport report() const;
  // Called just before logind is asked to suspend or hibernate, so the host can show it first.
  void set_before_sleep(std::function<void(bool hibernate)> before_sleep) {
    before_sleep_ = std::move(before_sleep);
  }
  // Asked while logind holds a sleep: true (a signal, Ctrl+C) gives up waiting for the resume.
  void set_stop_check(StopCheck stop) { stop_ = std::move(stop); }
  int open_handles() const { return token_.open_tokens() + static_cast<int>(timers_.size()); }
  int schemes_not_freed() const { return schemes_.not_freed(); }

 private:
  struct Timer {
    bool alarm_armed = false;
  };
  Timer* find_timer(HANDLE handle);
  DWORD write_wake_setting(const GUID* scheme, const GUID* subgroup, const GUID* setting, DWORD value);

  LogindBus bus_;
  RtcWakeAlarm alarm_;
  std::function<int64_t()> epoch_now_;
  std::function<void(bool hibernate)> before_sleep_;
  StopCheck stop_;
  std::vector<std::unique_ptr<Timer>> timers_;
  SchemeBlocks schemes_;
  std::optional<int64_t> alarm_armed_for_;
  std::string alarm_problem_;
  std::string logind_problem_;
  DWORD wake_setting_written_ = 0;
  EXECUTION_STATE execution_state_ = ES_CONTINUOUS;
  ProcessToken token_;
  bool powered_off_ = false;
};
