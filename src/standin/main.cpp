// The Linux stand-in: the panel's logic on a simulated laptop, in a terminal.
#include <csignal>
#include <cstdio>

#include "app/panel.h"
#include "standin/battery_model.h"
#include "standin/local_clock.h"
#include "standin/monotonic_clock.h"
#include "standin/posix_log_file_port.h"
#include "standin/refusing_power_port.h"
#include "standin/simulated_battery_port.h"
#include "standin/terminal_dialog.h"
#include "standin/terminal_message_boxes.h"
#include "standin/terminal_screen.h"
#include "standin/text_viewer.h"
#include "standin/viewer_keys.h"

namespace {

constexpr double kStartingCharge = 0.8;
constexpr int kIdleWaitMs = 1000;  // without a timer: still notice a signal now and then

volatile std::sig_atomic_t stop_requested = 0;

void request_stop(int) {
  stop_requested = 1;
}

void install_stop_handlers() {
  struct sigaction action {};
  action.sa_handler = request_stop;
  sigemptyset(&action.sa_mask);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    sigaction(signal_number, &action, nullptr);
  }
}

// Where the host's WM_CREATE reads the board identity, before the panel exists. The simulated board
// has no identity source yet, so the three board texts stay empty.
void run_board_identity_query(PanelState& /*state*/) {}

LaptopStatus laptop_status(BatteryModel& model) {
  const BatteryReading reading = model.read();
  return {model.ac_online(), reading.capacity_mwh * 100.0 / kFullChargedCapacityMwh, reading.rate_mw};
}

// Plugging or unplugging the adapter: Windows then broadcasts the change of power source.
void toggle_ac_adapter(BatteryModel& model, PanelState& state, const PanelPorts& ports) {
  model.set_ac_online(!model.ac_online());
  handle_power_broadcast(state, ports);
}

// What the dialog manager does with one event; false when the program is to end.
bool handle_event(const InputEvent& event, TerminalDialog& dialog, BatteryModel& model, PanelState& state,
                  const PanelPorts& ports) {
  switch (event.kind) {
    case InputEvent::Kind::interrupt:
      return false;
    case InputEvent::Kind::next:
    case InputEvent::Kind::down:
    case InputEvent::Kind::right:
      dialog.focus_next();
      break;
    case InputEvent::Kind::previous:
    case InputEvent::Kind::up:
    case InputEvent::Kind::left:
      dialog.focus_previous();
      break;
    case InputEvent::Kind::enter:
      dialog.press_enter();
      break;
    case InputEvent::Kind::escape:
      dialog.press_escape();
      break;
    case InputEvent::Kind::space:
      dialog.press_space();
      break;
    case InputEvent::Kind::backspace:
      dialog.press_backspace();
      break;
    case InputEvent::Kind::character:
      if (dialog.focus_in_number_field()) {
        dialog.type_character(event.character);
      } else {
        // Outside an edit field a dialog takes a mnemonic letter without Alt.
        dialog.press_mnemonic(event.character);
      }
      break;
    case InputEvent::Kind::alt_character:
      dialog.press_mnemonic(event.character);
      break;
    case InputEvent::Kind::toggle_ac:
      toggle_ac_adapter(model, state, ports);
      break;
    case InputEvent::Kind::mouse_click:
      dialog.click(event.row, event.column);
      break;
    case InputEvent::Kind::page_up:
    case InputEvent::Kind::page_down:
    case InputEvent::Kind::home:
    case InputEvent::Kind::end:
    case InputEvent::Kind::resize:
    case InputEvent::Kind::none:
      break;
  }
  return true;
}

}  // namespace

int main() {
  if (first_overlap(layout_panel())[0] >= 0) {
    std::fputs("chargewright: the panel layout has overlapping controls\n", stderr);
    return 1;
  }
  SteadyClock steady_clock;
  BatteryModel battery_model(steady_clock, kStartingCharge);
  SimulatedBatteryPort battery(battery_model);
  LocalClock local_clock;
  TerminalDialog dialog(steady_clock);
  TextViewer viewer;
  PosixLogFilePort files(viewer);
  RefusingPowerPort power;
  const PanelPorts ports{dialog, local_clock, battery, files, power};
  static PanelState state;

  install_stop_handlers();
  TerminalScreen screen;
  TerminalMessageBoxes message_boxes(
      screen, dialog, viewer, [&] { return laptop_status(battery_model); }, stop_requested);
  dialog.set_message_box_screen(&message_boxes);

  // The Windows program's order: host window, board identity, then the panel and its initialisation.
  state.host_window = dialog.host_window();
  run_board_identity_query(state);
  state.panel = dialog.panel_window();
  dialog.attach([&](UINT message, WPARAM wparam, LPARAM lparam) {
    return panel_dialog_message(state, ports, message, wparam, lparam);
  });
  dialog.create_panel();

  while (!dialog.quit_posted() && stop_requested == 0) {
    screen.draw(dialog, laptop_status(battery_model), viewer);
    const InputEvent event = screen.wait_for_input(dialog.milliseconds_to_next_timer(kIdleWaitMs));
    const bool taken_by_viewer = viewer.is_open() && handle_viewer_event(event, viewer);
    if (!taken_by_viewer && !handle_event(event, dialog, battery_model, state, ports)) {
      return 0;  // Ctrl+C
    }
    dialog.run_due_timers();
  }
  return stop_requested != 0 ? 0 : dialog.exit_code();
}
