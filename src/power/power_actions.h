// Sleep, hibernate (with or without a resume timer) and shutdown.
#pragma once

#include <cstdint>
#include <optional>

#include "battery/battery_snapshot.h"
#include "common/deferred_reports.h"
#include "ports/panel_ports.h"

constexpr int32_t kSleepAction = 300;
constexpr int32_t kHibernateAction = 400;

struct PowerActionState : BatteryReadings, DeferredReports {
  HANDLE wake_timer = nullptr;
};

// Enables SeShutdownPrivilege in the process token; false when the token could not be opened.
bool enable_shutdown_privilege(const PanelPorts& ports);
// Sleeps (300) or hibernates (400) without a resume timer; returns after the resume.
void suspend_now(const PanelPorts& ports, int32_t action);
// Allows wake timers for the current power source, arms a resume timer `due_time` (negative, in
// 100 ns units) from now, then sleeps or hibernates; returns after the resume. No due time: one that
// does not fit, a timer that cannot be set. A timer that fails is reported after the suspend
// (deferred_reports.h): the test is armed by then.
void suspend_with_wake_timer(PowerActionState& state, const PanelPorts& ports, bool hibernate,
                             std::optional<int64_t> due_time);
// S5: a forced shutdown when the privilege could be enabled; the message loop ends in every case.
void shut_down(PowerActionState& state, const PanelPorts& ports);
