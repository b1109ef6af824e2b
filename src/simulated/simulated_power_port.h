// Power management of the simulated laptop: the process token, a power scheme with the allow-wake-
// timers setting per power source, waitable timers, a suspend that holds the caller until the machine
// wakes, and shutdown.
#pragma once

#include <memory>
#include <vector>

#include "ports/power_port.h"
#include "posix/power_broadcasts.h"
#include "posix/process_token.h"
#include "posix/scheme_blocks.h"
#include "posix/waitable_timers.h"
#include "simulated/battery_model.h"
#include "simulated/power_screen.h"

// What the pack feeds while the machine is suspended. The sleep drain runs this many times faster
// than the clock, so a test of a few seconds loses a readable amount of charge.
constexpr double kSleepLoadMw = 800.0;
constexpr double kHibernateLoadMw = 80.0;
constexpr double kSleepTimeScale = 60.0;

// {381B4222-F694-41F0-9685-FF5BB260DF2E}, the "Balanced" scheme.
constexpr GUID kSimulatedSchemeGuid = {
    0x381B4222, 0xF694, 0x41F0, {0x96, 0x85, 0xFF, 0x5B, 0xB2, 0x60, 0xDF, 0x2E}};

// The simulated machine's sleeps so far, as its kernel would count them.
struct SimulatedSleeps {
  int suspends = 0;            // sleeps, not hibernations
  uint64_t awake_lost_ms = 0;  // clock time spent asleep: the machine's monotonic clock stood still
  uint64_t asleep_ms = 0;      // the time asleep as the battery felt it (scaled on battery power)
  uint64_t last_asleep_ms = 0;
  uint64_t total_hw_sleep_us = 0;
  uint64_t last_hw_sleep_us = 0;
  bool last_hibernate = false;
  bool last_woken_by_timer = false;
  bool alarm_pending = false;  // a resume timer armed and not rung
};

struct WakeTimerSetting {
  DWORD ac = 0;
  DWORD dc = 0;
};

class SimulatedPowerPort final : public PowerPort {
 public:
  SimulatedPowerPort(MonotonicClock& clock, BatteryModel& battery, PowerBroadcastQueue& broadcasts)
      : clock_(clock), battery_(battery), broadcasts_(broadcasts), timers_(clock) {}
  ~SimulatedPowerPort() override;
  SimulatedPowerPort(const SimulatedPowerPort&) = delete;
  SimulatedPowerPort& operator=(const SimulatedPowerPort&) = delete;

  void set_screen(PowerScreen* screen) { screen_ = screen; }
  MonotonicClock& clock() { return clock_; }

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

  // The setting in effect (written values count once the scheme is applied again).
  WakeTimerSetting wake_timers() const { return active_; }
  bool shutdown_privilege_enabled() const { return token_.shutdown_privilege_enabled(); }
  int schemes_not_freed() const { return schemes_.not_freed(); }
  int open_tokens() const { return token_.open_tokens(); }
  const WaitableTimers& timers() const { return timers_; }
  bool shut_down() const { return shut_down_; }
  int suspends() const { return suspends_; }
  const SimulatedSleeps& sleeps() const { return sleeps_; }

 private:
  DWORD write_wake_setting(const GUID* scheme, const GUID* subgroup, const GUID* setting, DWORD value,
                           DWORD WakeTimerSetting::*source);
  // Holds the caller until a key or the resume timer wakes the machine; true when the timer did.
  bool sleep_until_woken(bool hibernate, bool timer_may_wake);

  MonotonicClock& clock_;
  BatteryModel& battery_;
  PowerBroadcastQueue& broadcasts_;
  WaitableTimers timers_;
  PowerScreen* screen_ = nullptr;
  WakeTimerSetting written_;
  WakeTimerSetting active_;
  EXECUTION_STATE execution_state_ = ES_CONTINUOUS;
  SchemeBlocks schemes_;
  ProcessToken token_;
  int suspends_ = 0;
  SimulatedSleeps sleeps_;
  bool shut_down_ = false;
};
