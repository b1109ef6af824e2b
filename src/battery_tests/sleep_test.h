// The sleep (S3) and hibernate (S4) tests and their wake delay fields.
#pragma once

#include "app/panel_ports.h"
#include "app/panel_state.h"

constexpr int32_t kSleepMode = 300;
constexpr int32_t kHibernateMode = 400;

void start_sleep_test(PanelState& state, const PanelPorts& ports, int command_id);
// Enables the four delay fields while "Wake up after" is checked, disables them otherwise.
void update_wake_fields(PanelState& state, const PanelPorts& ports);
// The after-resume row of an armed test; nothing when no test is armed.
void finish_sleep_test(PanelState& state, const PanelPorts& ports);
