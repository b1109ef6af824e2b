// The sleep (S3) and hibernate (S4) tests and their wake delay fields.
#pragma once

#include <cstdint>
#include <optional>

#include "logs/log_file.h"
#include "ports/panel_ports.h"

constexpr int32_t kSleepMode = 300;
constexpr int32_t kHibernateMode = 400;

// Writes the first row, arms the test and suspends; returns after the resume.
void start_sleep_test(LogState& state, const PanelPorts& ports, int command_id);
// The resume timer's due time from the delay fields: negative 100 ns units, or 0 for no timer; none
// when the delay is too long for its due time to fit 64 bits (a timer that cannot be set).
std::optional<int64_t> wake_delay(const LogState& state, const PanelPorts& ports);
// Enables the four delay fields while "Wake up after" is checked, disables them otherwise.
void update_wake_fields(LogState& state, const PanelPorts& ports);
// The after-resume row of an armed test, then close and show its log; nothing when no test is armed.
void finish_sleep_test(LogState& state, const PanelPorts& ports);
