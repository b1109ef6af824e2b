#include "power/power_actions.h"

#include "battery/battery_query.h"
#include "common/deferred_reports.h"
#include "common/scoped_owner.h"
#include "ports/power_port.h"

namespace {

constexpr char16_t kShutdownPrivilege[] = u"SeShutdownPrivilege";

void allow_wake_timers(PowerActionState& state, const PanelPorts& ports) {
  // Declared, not a using-directive: <windows.h> has global GUIDs of the same names.
  using power_settings::GUID_ALLOW_RTC_WAKE;
  using power_settings::GUID_SLEEP_SUBGROUP;
  // The system allocates the active scheme's GUID; it is freed on every way out.
  auto scheme = scoped_owner<GUID*>(nullptr, [&ports](GUID* guid) { ports.power.LocalFree(guid); });
  ports.power.PowerGetActiveScheme(nullptr, scheme.receive());
  if (scheme.get() == nullptr) {
    return;  // no scheme known: nothing to write to
  }
  // Only the setting of the power source in use is written.
  query_battery(state.second_battery, ports.battery);
  if (state.second_battery.ac_on_line != 0) {
    ports.power.PowerWriteACValueIndex(nullptr, scheme.get(), &GUID_SLEEP_SUBGROUP, &GUID_ALLOW_RTC_WAKE, 1);
  } else {
    ports.power.PowerWriteDCValueIndex(nullptr, scheme.get(), &GUID_SLEEP_SUBGROUP, &GUID_ALLOW_RTC_WAKE, 1);
  }
  ports.power.PowerSetActiveScheme(nullptr, scheme.get());
}

void arm_wake_timer(PowerActionState& state, const PanelPorts& ports, std::optional<int64_t> due_time) {
  // A timer of an earlier test is closed before the new one takes its place.
  if (state.wake_timer != nullptr) {
    ports.power.CloseHandle(state.wake_timer);
    state.wake_timer = nullptr;
  }
  state.wake_timer = ports.power.CreateWaitableTimerW(nullptr, TRUE, nullptr);
  if (state.wake_timer == nullptr) {
    defer_report(state, u"Can't Create Wait timer", u"", MB_OK);
  }
  LARGE_INTEGER due = {};
  due.QuadPart = due_time.value_or(0);
  if (!due_time.has_value() || !ports.power.SetWaitableTimer(state.wake_timer, &due, 0, TRUE)) {
    if (state.wake_timer != nullptr) {
      ports.power.CloseHandle(state.wake_timer);
      state.wake_timer = nullptr;
    }
    defer_report(state, u"Can't Set Wait timer", u"", MB_OK);
  }
}

}  // namespace

bool enable_shutdown_privilege(const PanelPorts& ports) {
  auto token = scoped_owner<HANDLE>(nullptr, [&ports](HANDLE handle) { ports.power.CloseHandle(handle); });
  if (!ports.power.OpenProcessToken(ports.power.GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                                    token.receive())) {
    return false;
  }
  TOKEN_PRIVILEGES privileges = {};
  ports.power.LookupPrivilegeValueW(nullptr, kShutdownPrivilege, &privileges.Privileges[0].Luid);
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  ports.power.AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  return true;
}

void suspend_now(const PanelPorts& ports, int32_t action) {
  if (!enable_shutdown_privilege(ports)) {
    return;
  }
  ports.power.SetSuspendState(action == kHibernateAction ? TRUE : FALSE, TRUE, TRUE);
}

void suspend_with_wake_timer(PowerActionState& state, const PanelPorts& ports, bool hibernate,
                             std::optional<int64_t> due_time) {
  allow_wake_timers(state, ports);
  arm_wake_timer(state, ports, due_time);
  // The suspend needs the privilege; this path must not rely on an earlier test having enabled it.
  enable_shutdown_privilege(ports);
  // Wake events stay enabled, the armed timer among them; asked for even without a working timer.
  ports.power.SetSuspendState(hibernate ? TRUE : FALSE, TRUE, FALSE);
  ports.power.SetThreadExecutionState(ES_CONTINUOUS);
}

void shut_down(PowerActionState&, const PanelPorts& ports) {
  if (enable_shutdown_privilege(ports)) {
    ports.power.ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0);
  }
  ports.dialog.PostQuitMessage(0);
}
