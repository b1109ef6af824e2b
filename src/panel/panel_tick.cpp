#include "panel/panel_tick.h"

#include "../../res/control_ids.h"
#include "battery/battery_query.h"
#include "battery/life_percent.h"
#include "logs/s1_session.h"

namespace {

constexpr int32_t kMinuteTicks = 59;

const char16_t* true_false(uint8_t flag) {
  return flag != 0 ? u"TRUE" : u"FALSE";
}

void set_field(PanelState& state, const PanelPorts& ports, int id) {
  ports.dialog.SetDlgItemTextW(state.panel, id, state.panel_text);
}

void show_capacity(PanelState& state, const PanelPorts& ports, int id, uint32_t value) {
  format_wide(state.panel_text, u"%i mW", as_i32(value));
  set_field(state, ports, id);
}

// Wrapping 32-bit arithmetic without signed overflow.
int32_t wrapping_add(int32_t a, uint32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + b);
}

void update_estimate(PanelState& state, const PanelPorts& ports) {
  const BatterySnapshot& battery = state.battery;
  const int32_t drain = state.minute_drain_sum;  // negative here
  // Below the first alert level nothing usable is left; the unsigned difference would wrap.
  const uint32_t usable = battery.remaining_capacity > battery.default_alert1
                              ? battery.remaining_capacity - battery.default_alert1
                              : 0;
  const uint32_t minutes = estimate_energy(usable) / (0u - static_cast<uint32_t>(drain));
  const uint32_t hours = minutes / 60;
  const uint32_t minutes_of_hour = minutes - 60 * hours;
  // Hold back a minute that drained at most half as much as the one last shown.
  const int32_t ratio =
      drain == -1 && state.last_shown_drain == INT32_MIN ? INT32_MAX : state.last_shown_drain / drain;
  if (ratio < 2) {
    format_wide(state.panel_text, u"%ihr %02imin", as_i32(hours), as_i32(minutes_of_hour));
    set_field(state, ports, IDC_ESTIMATED_TIME);
    state.last_shown_drain = drain;
  }
}

void run_minute_block(PanelState& state, const PanelPorts& ports) {
  format_wide(state.panel_text, u"%i mW/min", state.minute_drain_sum);
  set_field(state, ports, IDC_RATE_PER_MINUTE);
  state.tick_counter = 0;
  if (state.s1_active == 1) {
    s1_minute_row(state, ports);
  }
  state.baseline_remaining_capacity = as_i32(state.battery.remaining_capacity);
  if (state.minute_drain_sum < 0) {
    update_estimate(state, ports);
  }
  state.minute_drain_sum = 0;
}

}  // namespace

uint32_t estimate_energy(uint32_t usable) {
  return static_cast<uint32_t>(static_cast<int64_t>(static_cast<double>(usable) * 0.9));
}

void write_static_battery_fields(PanelState& state, const PanelPorts& ports) {
  const BatterySnapshot& battery = state.battery;
  const struct {
    int id;
    uint8_t flag;
  } flags[] = {{IDC_AC_ON_LINE, battery.ac_on_line},
               {IDC_BATTERY_CRITICAL, battery.critical},
               {IDC_CHARGING, battery.charging},
               {IDC_DISCHARGING, battery.discharging}};
  for (const auto& field : flags) {
    format_wide(state.panel_text, u"%s", true_false(field.flag));
    set_field(state, ports, field.id);
  }
  format_wide(state.panel_text, u"Battery Status (%s, %s)", battery.unique_id, battery.chemistry);
  set_field(state, ports, IDC_BATTERY_STATUS_GROUP);
  format_wide(state.panel_text, u"%i mV", as_i32(battery.voltage));
  set_field(state, ports, IDC_VOLTAGE);
  show_capacity(state, ports, IDC_DESIGN_CAPACITY, battery.designed_capacity);
  show_capacity(state, ports, IDC_FULL_CHARGED_CAPACITY, battery.full_charged_capacity);
  show_capacity(state, ports, IDC_DEFAULT_ALERT1, battery.default_alert1);
  show_capacity(state, ports, IDC_DEFAULT_ALERT2, battery.default_alert2);
}

void panel_tick(PanelState& state, const PanelPorts& ports) {
  ports.clock.GetLocalTime(&state.local_time);
  format_wide(state.panel_text, u"Chargewright - %02i:%02i:%02i", int32_t{state.local_time.wHour},
              int32_t{state.local_time.wMinute}, int32_t{state.local_time.wSecond});
  ports.dialog.SetWindowTextW(state.host_window, state.panel_text);

  state.previous_remaining_capacity = state.battery.remaining_capacity;
  query_battery(state.battery, ports.battery);

  show_capacity(state, ports, IDC_REMAINING_CAPACITY, state.battery.remaining_capacity);
  format_wide(state.panel_text, u"%i mW/hr", state.battery.rate);
  set_field(state, ports, IDC_RATE);
  if (life_percent_known(state.battery)) {
    format_wide(state.panel_text, u"%.02f %%", life_percent(state.battery));
  } else {
    format_wide(state.panel_text, u"%s %%", kUnknownLifePercent);
  }
  set_field(state, ports, IDC_LIFE_PERCENT);

  state.minute_drain_sum = wrapping_add(state.minute_drain_sum,
                                        state.battery.remaining_capacity - state.previous_remaining_capacity);
  ++state.tick_counter;
  if (state.tick_counter == kMinuteTicks) {
    run_minute_block(state, ports);
  }
}
